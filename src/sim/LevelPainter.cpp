#include "sim/LevelPainter.h"

#include <string>

namespace lakedrift {
namespace {

constexpr int kHeldLevels = 2;

}  // namespace

Status LevelPainter::Take(int level, std::span<const double> x, std::span<const float> y) {
  if (level != 1 && (level != taken_ + 1 || !drawn_))
    return Status::Fail(ErrorKind::BadValue,
                        "the picture of the run missed a track level before level " + std::to_string(level));
  if (level == 1) {
    // Until the first step both levels held are the release.
    x_.resize(kHeldLevels * x.size());
    y_.resize(kHeldLevels * y.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
      x_[kHeldLevels * i] = x_[kHeldLevels * i + 1] = x[i];
      y_[kHeldLevels * i] = y_[kHeldLevels * i + 1] = y[i];
    }
  } else {
    for (std::size_t i = 0; i < x.size(); ++i) {
      x_[kHeldLevels * i] = x_[kHeldLevels * i + 1];
      y_[kHeldLevels * i] = y_[kHeldLevels * i + 1];
      x_[kHeldLevels * i + 1] = x[i];
      y_[kHeldLevels * i + 1] = y[i];
    }
  }
  firstLevel_ = level - 1;
  taken_ = level;
  drawn_ = false;
  return Status::Ok();
}

Status LevelPainter::Draw() {
  if (!Pending()) return Status::Ok();
  drawn_ = true;
  return taken_ == 1 ? Started() : Stepped(taken_);
}

Status LevelPainter::Started() {
  if (Status s = frames_.Start(); !s.ok()) return s;
  label_ = RunLabel(state_.Season);
  painter_.RunStarted(state_);
  painter_.ReleaseMarker(state_);
  return Status::Ok();
}

Status LevelPainter::Stepped(int level) {
  bool newFrame = false;
  if (Status s = frames_.BeginStep(newFrame); !s.ok()) return s;
  const int step = level - 1;
  // The overlay the painter keeps holds every segment before this step.
  if (newFrame) painter_.FrameChanged(state_, Window(), step - 1);
  painter_.NewSegments(Window(), step, {});
  label_.Draw(painter_);
  frames_.StepDone();
  return Status::Ok();
}

RunTracks LevelPainter::Window() const {
  return RunTracks(x_, y_, static_cast<int>(y_.size() / kHeldLevels), kHeldLevels, firstLevel_);
}

}  // namespace lakedrift
