#include "sim/LevelPainter.h"

#include <string>

namespace lakedrift {
namespace {

constexpr int kHeldLevels = 2;

}  // namespace

Status LevelPainter::Level(int level, std::span<const double> x, std::span<const float> y) {
  if (level == 1) return Started(x, y);
  if (level != frames_.StepsDone() + kHeldLevels)
    return Status::Fail(ErrorKind::BadValue,
                        "the picture of the run missed a track level before level " + std::to_string(level));
  return Stepped(level, x, y);
}

Status LevelPainter::Started(std::span<const double> x, std::span<const float> y) {
  if (Status s = frames_.Start(); !s.ok()) return s;
  label_ = RunLabel(state_.Season);
  painter_.RunStarted(state_);
  painter_.ReleaseMarker(state_);
  // Until the first step both levels held are the release.
  x_.resize(kHeldLevels * x.size());
  y_.resize(kHeldLevels * y.size());
  for (std::size_t i = 0; i < x.size(); ++i) {
    x_[kHeldLevels * i] = x_[kHeldLevels * i + 1] = x[i];
    y_[kHeldLevels * i] = y_[kHeldLevels * i + 1] = y[i];
  }
  firstLevel_ = 0;
  return Status::Ok();
}

Status LevelPainter::Stepped(int level, std::span<const double> x, std::span<const float> y) {
  bool newFrame = false;
  if (Status s = frames_.BeginStep(newFrame); !s.ok()) return s;
  const int step = level - 1;
  if (newFrame) painter_.FrameChanged(state_, Window(), step - 1);
  for (std::size_t i = 0; i < x.size(); ++i) {
    x_[kHeldLevels * i] = x_[kHeldLevels * i + 1];
    y_[kHeldLevels * i] = y_[kHeldLevels * i + 1];
    x_[kHeldLevels * i + 1] = x[i];
    y_[kHeldLevels * i + 1] = y[i];
  }
  firstLevel_ = step;
  painter_.NewSegments(Window(), step, {});
  label_.Draw(painter_);
  frames_.StepDone();
  return Status::Ok();
}

RunTracks LevelPainter::Window() const {
  return RunTracks(x_, y_, static_cast<int>(y_.size() / kHeldLevels), kHeldLevels, firstLevel_);
}

}  // namespace lakedrift
