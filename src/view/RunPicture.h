#pragma once
#include <memory>
#include <string>
#include <vector>

#include "sim/RunPainter.h"
#include "sim/SimulationRun.h"
#include "view/CachedMap.h"
#include "view/Surface.h"

namespace lakedrift {

// A run's picture on a surface: the view's side of RunPainter. It keeps
// the map of the view in force and an overlay of the tracks drawn so far,
// so a redraw costs the same early and late in a run.
class RunPicture : public RunPainter {
 public:
  explicit RunPicture(Surface& surface) : surface_(surface) {}

  void RunStarted(ModelState& state) override;
  void ReleaseMarker(const ModelState& state) override;
  void FrameChanged(ModelState& state, const RunTracks& tracks, int stepsDone) override;
  void NewSegments(const RunTracks& tracks, int step, std::span<const double> endY) override;
  void TimeLabel(const std::string& boxText, const std::string& text) override;

 private:
  // Draws the segments of steps firstStep..lastStep of every particle.
  void DrawSegments(Surface& target, const RunTracks& tracks, int firstStep, int lastStep);
  // Draws the segments of step `step` of every particle in the tracks' red,
  // their ends' y from endY when given (as NewSegments takes it).
  void DrawStep(Surface& target, const RunTracks& tracks, int step, std::span<const double> endY);
  // Lays the tracks of steps 1..stepsDone over the picture from the
  // overlay, bringing it up to date first; false when the surface offers
  // no overlay.
  bool DrawTracksFromOverlay(const RunTracks& tracks, int stepsDone);

  Surface& surface_;
  CachedMap map_;                    // the map of the view in force
  std::unique_ptr<Surface> tracks_;  // overlay of the tracks drawn so far
  int tracksDrawnSteps_ = 0;
  bool overlayOnTop_ = false;               // nothing drawn since the overlay was laid over the picture
  std::vector<Surface::Segment> segments_;  // one step's lines, the buffer kept for the next
};

// A run together with the picture it paints, for callers that keep both.
struct DrawnRun {
  DrawnRun(ModelState& state, Surface& surface, uint64_t seed)
      : picture(surface), run(state, picture, seed) {}
  RunPicture picture;
  SimulationRun run;
};

}  // namespace lakedrift
