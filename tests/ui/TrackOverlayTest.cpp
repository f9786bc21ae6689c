// The run keeps its tracks on an overlay laid over each redraw; the picture
// must be exactly the one that drawing every segment again gives, also
// after the view changes in the middle of a run.
#include "ui/UiSupport.h"

#include "sim/RunFixture.h"
#include "sim/SimulationRun.h"
#include "view/MapView.h"
#include "view/QtImageSurface.h"
#include "view/RunPicture.h"

namespace lakedrift {
namespace {

// A picture that offers no overlay, so the run draws the whole history.
class DirectSurface : public QtImageSurface {
 public:
  using QtImageSurface::QtImageSurface;
  std::unique_ptr<Surface> CreateOverlay(OverlayKind) const override { return nullptr; }
};

TEST(TrackOverlay, PictureEqualsTheOneDrawnSegmentBySegment) {
  ModelState withOverlay = test::TestLakeState();
  withOverlay.ParticleCount = 30, withOverlay.DiffusionCoef = 5;  // tracks that spread over many pixels
  ModelState direct = withOverlay;
  QtImageSurface overlaid(400, 400);
  DirectSurface plain(400, 400);
  DrawnRun drawnA(withOverlay, overlaid, 11), drawnB(direct, plain, 11);
  ASSERT_TRUE(drawnA.run.Start().ok() && drawnB.run.Start().ok());
  for (int s = 1; drawnA.run.HasNextStep(); ++s) {
    ASSERT_TRUE(drawnA.run.Step().ok() && drawnB.run.Step().ok());
    // The view changes between steps, as a zoom, scroll or resize made
    // while the run yields would change it.
    for (auto [view, m] :
         {std::pair<QtImageSurface*, ModelState*>(&overlaid, &withOverlay), {&plain, &direct}}) {
      if (s == 20) ZoomIn(*view, *m);
      if (s == 30) ScrollHorizontal(*view, *m, 9000, 0, 32767);
      if (s == 40) view->SetPixelSize(300, 350), ResizeView(*view, *m);
    }
    // Compared every seventh step and at the end.
    ASSERT_TRUE((s % 7 && drawnA.run.HasNextStep()) || overlaid.Image() == plain.Image())
        << "pictures differ after step " << s;
  }
  EXPECT_GT(test::CountColour(overlaid.Image(), test::kTrack), 50) << "no tracks on the final picture";
}

// FNV-1a over an image's pixels.
uint64_t HashOf(const QImage& image) {
  uint64_t hash = 0xcbf29ce484222325ull;
  const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < pixels.height(); ++y)
    for (int x = 0; x < pixels.width(); ++x) hash = (hash ^ pixels.pixel(x, y)) * 0x100000001b3ull;
  return hash;
}

TEST(TrackOverlay, RunPicturesArePinned) {
  // The pictures of a seeded run, pixel for pixel: the last step's, and the
  // finished run's redraw after a zoom. A change in what is drawn, in which
  // order or in which colour changes them.
  ModelState state = test::TestLakeState();
  state.DiffusionCoef = 5;
  QtImageSurface surface(300, 300);
  DrawnRun drawn(state, surface, 5);
  ASSERT_TRUE(RunSimulation(drawn.run, [] { return true; }).ok());
  EXPECT_EQ(HashOf(surface.Image()), 0xbdd5e7dec0b7a498ull) << "last step";
  ZoomIn(surface, state, [&drawn](Surface&, ModelState&) { drawn.run.RedrawResult(); });
  EXPECT_EQ(HashOf(surface.Image()), 0x68a69f3f791e3158ull) << "redraw after a zoom";
}

}  // namespace
}  // namespace lakedrift
