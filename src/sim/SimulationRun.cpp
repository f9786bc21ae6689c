#include "sim/SimulationRun.h"

#include <cmath>

#include "model/NumberFormat.h"
#include "sim/ElementLocation.h"
#include "view/LakeMap.h"
#include "view/CachedMap.h"
#include "view/MapView.h"
#include "view/TimeLabel.h"
#include "view/VelocityVectors.h"

namespace lakedrift {
namespace {

constexpr const char* kStartLabelPrefix = "Simulation Time (Hours):";

}  // namespace

SimulationRun::SimulationRun(ModelState& state, Surface& surface, uint64_t seed)
    : state_(state), surface_(surface), stepper_(state, seed), frames_(state), clock_(state) {}

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
  if (Status opened = frames_.Open(); !opened.ok()) return opened;
  started_ = true;
  simDate_ = ScenarioStart(state_.Season);
  // The first covering box is sized by this text, which is never printed.
  lastLabel_ = std::string(kStartLabelPrefix) + FormatDateTime(simDate_);

  surface_.Clear();
  SetMapScale(surface_, state_);
  DrawMap(surface_, state_);
  DrawVectors(surface_, state_);
  surface_.SetFillStyle(FillStyle::Solid);
  surface_.SetFillColor(PaletteColour(kGreen));
  DrawReleaseMarker();

  clock_ = RunClock(state_);
  stepCount_ = clock_.StepCount();
  levelCount_ = clock_.LevelCount();
  // A fractional count moves the particles up to it; the tables hold the
  // rounded count.
  particlesMoved_ = static_cast<int>(std::floor(state_.ParticleCount));
  const auto tableParticles = static_cast<std::size_t>(std::max(0L, std::lround(state_.ParticleCount)));
  trackX_.assign(tableParticles * static_cast<std::size_t>(levelCount_), 0.0);
  trackY_.assign(tableParticles * static_cast<std::size_t>(levelCount_), 0.0f);

  const double x0 = kMetresPerKm * state_.ReleaseX;
  const double y0 = kMetresPerKm * state_.ReleaseY;
  stepper_.SetCurrentElement(ReleaseElement(state_));
  stepper_.IndexGeometry();

  DrawReleaseMarker();
  for (int p = 1; p <= particlesMoved_; ++p) {
    trackX_[TrackIndex(p, 1)] = x0;
    trackY_[TrackIndex(p, 1)] = static_cast<float>(y0);
  }
  return Status::Ok();
}

bool SimulationRun::HasNextStep() const { return frames_.IsOpen() && stepsDone_ < stepCount_; }

Status SimulationRun::Step() {
  const int s = stepsDone_ + 1;
  if (clock_.Advance()) {
    if (Status st = frames_.Next(); !st.ok()) return st;
    RedrawWithHistory();
  }
  for (int p = 1; p <= particlesMoved_; ++p) MoveParticle(p, s);
  DrawLabel();
  stepsDone_ = s;
  return Status::Ok();
}

void SimulationRun::End() {
  frames_.Close();
}

void SimulationRun::RedrawResult() {
  if (!started_) return;
  RedrawWithHistory();
  // The label box covers the extent of the text it is printed with.
  if (stepsDone_ > 0) DrawTimeLabel(surface_, lastLabel_, lastLabel_);
}

void SimulationRun::DrawReleaseMarker() {
  surface_.Circle(static_cast<float>(state_.ReleaseX), state_.ReleaseY,
                  kReleaseMarkerFraction * surface_.ScaleWidth(), PaletteColour(kGreen));
}

void SimulationRun::RedrawWithHistory() {
  surface_.Clear();
  map_.Draw(surface_, state_);
  DrawVectors(surface_, state_);
  surface_.SetFillStyle(FillStyle::Solid);
  surface_.SetFillColor(PaletteColour(kGreen));
  DrawReleaseMarker();
  if (!DrawTracksFromOverlay()) DrawTrackSegments(surface_, 1, stepsDone_);
}

void SimulationRun::DrawTrackSegments(Surface& target, int firstStep, int lastStep) const {
  const Rgb saved = target.ForeColor();
  target.SetForeColor(PaletteColour(kLightRed));
  for (int k = firstStep; k <= lastStep; ++k)
    for (int p = 1; p <= particlesMoved_; ++p)
      target.Line(static_cast<float>(trackX_[TrackIndex(p, k)] * kKmPerMetre),
                  static_cast<float>(trackY_[TrackIndex(p, k)] * kKmPerMetre),
                  static_cast<float>(trackX_[TrackIndex(p, k + 1)] * kKmPerMetre),
                  static_cast<float>(trackY_[TrackIndex(p, k + 1)] * kKmPerMetre));
  target.SetForeColor(saved);
}

bool SimulationRun::DrawTracksFromOverlay() {
  // The tracks only grow while the view stays: they are kept on an overlay
  // that takes the new segments and is laid over each redraw, so a step
  // costs the same early and late in a run. A new view or size starts the
  // overlay afresh with every segment, so zoom and scroll during a run show
  // all the tracks.
  const bool stale = !tracks_ || !(tracks_->Transform() == surface_.Transform()) ||
                     tracks_->GetLineStyle() != surface_.GetLineStyle() ||
                     tracks_->LineWidth() != surface_.LineWidth();
  if (stale) {
    tracks_ = surface_.CreateOverlay();
    if (!tracks_) return false;
    tracksDrawnSteps_ = 0;
  }
  DrawTrackSegments(*tracks_, tracksDrawnSteps_ + 1, stepsDone_);
  tracksDrawnSteps_ = stepsDone_;
  surface_.DrawOverlay(*tracks_);
  return true;
}

void SimulationRun::DrawLabel() {
  const std::string previous = lastLabel_;
  lastLabel_ = std::string(kTimeLabelPrefix) + FormatDateTime(simDate_);
  DrawTimeLabel(surface_, previous, lastLabel_);
  simDate_.days += kTwoHoursInDays;
}

void SimulationRun::MoveParticle(int p, int s) {
  const double x = trackX_[TrackIndex(p, s)];
  const double y = trackY_[TrackIndex(p, s)];
  double xNew = 0, yNew = 0;
  stepper_.Move(x, y, xNew, yNew);
  trackX_[TrackIndex(p, s + 1)] = xNew;
  trackY_[TrackIndex(p, s + 1)] = static_cast<float>(yNew);

  const Rgb saved = surface_.ForeColor();
  surface_.SetForeColor(PaletteColour(kLightRed));
  surface_.Line(static_cast<float>(x * kKmPerMetre), static_cast<float>(y * kKmPerMetre),
                static_cast<float>(xNew * kKmPerMetre), static_cast<float>(yNew * kKmPerMetre));
  surface_.SetForeColor(saved);
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
