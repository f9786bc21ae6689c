#include "sim/SimulationRun.h"

#include <cmath>

#include "sim/ElementLocation.h"

namespace lakedrift {

SimulationRun::SimulationRun(ModelState& state, RunPainter& painter, uint64_t seed)
    : state_(state), painter_(painter), stepper_(state, seed), frames_(state) {}

SimulationRun::~SimulationRun() { End(); }

std::size_t SimulationRun::TrackIndex(int p, int level) const {
  return static_cast<std::size_t>(p - 1) * static_cast<std::size_t>(levelCount_) +
         static_cast<std::size_t>(level - 1);
}

double SimulationRun::TrackX(int p, int level) const { return trackX_[TrackIndex(p, level)]; }
float SimulationRun::TrackY(int p, int level) const { return trackY_[TrackIndex(p, level)]; }

Status SimulationRun::Start() {
  // Frame 0 is read before anything changes, so a refused run leaves
  // vectors, MaxSpeed and picture as they were.
  if (Status opened = frames_.Start(); !opened.ok()) return opened;
  started_ = true;
  label_ = RunLabel(state_.Season);

  painter_.RunStarted(state_);

  levelCount_ = frames_.LevelCount();
  // A fractional count moves the particles up to it; the tables hold the
  // rounded count.
  particlesMoved_ = static_cast<int>(std::floor(state_.ParticleCount));
  const auto tableParticles = static_cast<std::size_t>(std::max(0L, std::lround(state_.ParticleCount)));
  trackX_.assign(tableParticles * static_cast<std::size_t>(levelCount_), 0.0);
  trackY_.assign(tableParticles * static_cast<std::size_t>(levelCount_), 0.0f);
  newY_.assign(static_cast<std::size_t>(std::max(0, particlesMoved_)), 0.0);

  const double x0 = kMetresPerKm * state_.ReleaseX;
  const double y0 = kMetresPerKm * state_.ReleaseY;
  stepper_.SetCurrentElement(ReleaseElement(state_));
  stepper_.IndexGeometry();

  painter_.ReleaseMarker(state_);
  for (int p = 1; p <= particlesMoved_; ++p) {
    trackX_[TrackIndex(p, 1)] = x0;
    trackY_[TrackIndex(p, 1)] = static_cast<float>(y0);
  }
  return Status::Ok();
}

bool SimulationRun::HasNextStep() const { return frames_.HasNextStep(); }

Status SimulationRun::Step() {
  const int s = StepsDone() + 1;
  bool newFrame = false;
  if (Status st = frames_.BeginStep(newFrame); !st.ok()) return st;
  if (newFrame) painter_.FrameChanged(state_, Tracks(), StepsDone());
  for (int p = 1; p <= particlesMoved_; ++p) MoveParticle(p, s);
  painter_.NewSegments(Tracks(), s, newY_);
  label_.Draw(painter_);
  frames_.StepDone();
  return Status::Ok();
}

void SimulationRun::End() { frames_.End(); }

void SimulationRun::RedrawResult() {
  if (!started_) return;
  painter_.FrameChanged(state_, Tracks(), StepsDone());
  // The label box covers the extent of the text it is printed with.
  if (StepsDone() > 0) painter_.TimeLabel(label_.Last(), label_.Last());
}

void SimulationRun::MoveParticle(int p, int s) {
  const double x = trackX_[TrackIndex(p, s)];
  const double y = trackY_[TrackIndex(p, s)];
  double xNew = 0, yNew = 0;
  stepper_.Move(x, y, xNew, yNew);
  trackX_[TrackIndex(p, s + 1)] = xNew;
  trackY_[TrackIndex(p, s + 1)] = static_cast<float>(yNew);
  newY_[static_cast<std::size_t>(p - 1)] = yNew;
}

Status RunSimulation(SimulationRun& run, const std::function<bool()>& yield) {
  if (Status s = run.Start(); !s.ok()) return s;
  while (run.HasNextStep()) {
    if (Status s = run.Step(); !s.ok()) return s;
    if (!yield()) break;
  }
  run.End();
  return Status::Ok();
}

}  // namespace lakedrift
