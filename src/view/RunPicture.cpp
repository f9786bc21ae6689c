#include "view/RunPicture.h"

#include "view/MapView.h"
#include "view/Palette.h"
#include "view/Picture.h"
#include "view/TimeLabel.h"

namespace lakedrift {

void RunPicture::RunStarted(ModelState& state) {
  overlayOnTop_ = false;
  surface_.Clear();
  SetMapScale(surface_, state);
  DrawPicture({.surface = surface_, .state = state, .vectors = true, .marker = true});
}

void RunPicture::ReleaseMarker(const ModelState& state) {
  overlayOnTop_ = false;
  DrawReleaseMarker(surface_, state);
}

void RunPicture::FrameChanged(ModelState& state, const RunTracks& tracks, int stepsDone) {
  surface_.Clear();
  overlayOnTop_ = false;
  DrawPicture(
      {.surface = surface_, .state = state, .map = &map_, .vectors = true, .marker = true, .tracks = [&] {
         overlayOnTop_ = DrawTracksFromOverlay(tracks, stepsDone);
         if (!overlayOnTop_) DrawSegments(surface_, tracks, 1, stepsDone);
       }});
}

void RunPicture::NewSegments(const RunTracks& tracks, int step, std::span<const double> endY) {
  // Straight after a redraw the picture shows the overlay as it is: when the
  // ends are the tables' own, the overlay takes the new segments and is laid
  // over again, which gives the same pixels and draws each segment once.
  if (endY.empty() && overlayOnTop_ && tracksDrawnSteps_ == step - 1) {
    DrawSegments(*tracks_, tracks, step, step);
    tracksDrawnSteps_ = step;
    surface_.DrawOverlay(*tracks_);
    return;
  }
  overlayOnTop_ = false;
  DrawStep(surface_, tracks, step, endY);
}

void RunPicture::TimeLabel(const std::string& boxText, const std::string& text) {
  overlayOnTop_ = false;
  DrawTimeLabel(surface_, boxText, text);
}

void RunPicture::DrawSegments(Surface& target, const RunTracks& tracks, int firstStep, int lastStep) {
  for (int k = firstStep; k <= lastStep; ++k) DrawStep(target, tracks, k, {});
}

void RunPicture::DrawStep(Surface& target, const RunTracks& tracks, int step, std::span<const double> endY) {
  segments_.clear();
  for (int p = 1; p <= tracks.Particles(); ++p) {
    const double y = endY.empty() ? tracks.Y(p, step + 1) : endY[static_cast<std::size_t>(p - 1)];
    segments_.push_back({static_cast<float>(tracks.X(p, step) * kKmPerMetre),
                         static_cast<float>(tracks.Y(p, step) * kKmPerMetre),
                         static_cast<float>(tracks.X(p, step + 1) * kKmPerMetre),
                         static_cast<float>(y * kKmPerMetre)});
  }
  const Rgb saved = target.ForeColor();
  target.SetForeColor(PaletteColour(kLightRed));
  target.Lines(segments_);
  target.SetForeColor(saved);
}

bool RunPicture::DrawTracksFromOverlay(const RunTracks& tracks, int stepsDone) {
  // The tracks only grow while the view stays: they are kept on an overlay
  // that takes the new segments and is laid over each redraw. A new view or
  // size starts the overlay afresh with every segment, so zoom and scroll
  // during a run show all the tracks.
  const bool stale = !tracks_ || !(tracks_->Transform() == surface_.Transform()) ||
                     tracks_->GetLineStyle() != surface_.GetLineStyle() ||
                     tracks_->LineWidth() != surface_.LineWidth();
  if (stale) {
    tracks_ = surface_.CreateOverlay();
    if (!tracks_) return false;
    tracksDrawnSteps_ = 0;
  }
  DrawSegments(*tracks_, tracks, tracksDrawnSteps_ + 1, stepsDone);
  tracksDrawnSteps_ = stepsDone;
  surface_.DrawOverlay(*tracks_);
  return true;
}

}  // namespace lakedrift
