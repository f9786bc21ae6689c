#include "view/QtImageSurface.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QGuiApplication>

#include "model/ModelState.h"
#include "view/MapView.h"
#include "view/Palette.h"

namespace lakedrift::test {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlackPixel = qRgb(0, 0, 0);

QRgb ToQRgb(Rgb c) { return qRgb(c.r, c.g, c.b); }

// A blank white surface 200 × 100 pixels showing x 10..110, y 50 down to 0.
std::unique_ptr<QtImageSurface> BlankSurface() {
  auto surface = std::make_unique<QtImageSurface>(200, 100);
  surface->SetScale(10, 50, 100, -50);
  surface->Clear();
  return surface;
}

// Pixels of a colour along one row, from x0 up to but excluding x1.
int CountInRow(const QImage& image, int y, int x0, int x1, QRgb colour) {
  int count = 0;
  for (int x = x0; x < x1; ++x) count += image.pixel(x, y) == colour;
  return count;
}

// A world point lands on its pixel with the axes scaled apart; a copy of
// the picture keeps what it showed while drawing goes on; a resize keeps
// what fits. A dotted line shows gaps.
TEST(QtImageSurface, LinesLandOnTheirPixelsAndStayThroughCopyAndResize) {
  auto surface = BlankSurface();
  surface->Line(35, 30, 60, 30);           // pixel x 50..100, y 40
  const QImage before = surface->Image();  // a shallow copy, as a saved file or a repaint takes
  EXPECT_EQ(CountInRow(before, 40, 0, 200, kBlackPixel), CountInRow(before, 40, 50, 101, kBlackPixel));
  EXPECT_EQ(before.pixel(50, 40), kBlackPixel);
  EXPECT_EQ(CountInRow(before, 39, 0, 200, kBlackPixel) + CountInRow(before, 41, 0, 200, kBlackPixel), 0);
  surface->Line(35, 20, 60, 20);  // pixel row 60
  EXPECT_EQ(before.pixel(75, 60), kWhite);
  EXPECT_EQ(surface->Image().pixel(75, 60), kBlackPixel);
  surface->SetPixelSize(300, 50);
  ASSERT_EQ(surface->Image().size(), QSize(300, 50));
  EXPECT_EQ(surface->Image().pixel(60, 40), kBlackPixel);
  EXPECT_EQ(surface->Image().pixel(250, 10), kWhite);

  surface = BlankSurface();
  surface->SetLineStyle(LineStyle::Dotted);  // the dots themselves are the rasterizer's
  surface->Line(15, 30, 100, 30);            // pixels 10..180 along row 40
  const int lit = CountInRow(surface->Image(), 40, 10, 180, kBlackPixel);
  EXPECT_TRUE(lit > 170 / 4 && lit < 170 * 3 / 4) << lit << " pixels of a dotted line lit";
}

// The radius is in x units; after a zoom the same fraction of the view's
// width gives the same disc in pixels.
TEST(QtImageSurface, DiscOfAFixedViewFractionKeepsItsPixelRadiusAfterZoom) {
  ModelState s;  // a square map 0..100 km seen in full on a square client area
  s.RegionTitle = "LAKE TANGANYIKA";
  s.MapXMax = s.MapYMax = s.MapWidth = s.MapHeight = s.MapSize = 100;
  s.Magnification = 1;
  QtImageSurface surface(400, 400);
  SetMapScale(surface, s);
  auto discWidth = [&surface]() {
    surface.Clear();
    surface.SetFillStyle(FillStyle::Solid);
    surface.SetFillColor(PaletteColour(kLightRed));
    surface.Circle(surface.ScaleLeft() + surface.ScaleWidth() / 2,
                   surface.ScaleTop() + surface.ScaleHeight() / 2, 0.008f * surface.ScaleWidth(),
                   PaletteColour(kLightRed));
    return CountInRow(surface.Image(), 200, 0, 400, ToQRgb(PaletteColour(kLightRed)));
  };
  const int before = discWidth();
  ZoomIn(surface, s);
  EXPECT_EQ(discWidth(), before);
  EXPECT_NEAR(before, 2 * 0.008 * 400, 2.0);
}

// Printed text is Liberation Sans, drawn below and right of the current
// point, which then goes back to the left edge one line down.
TEST(QtImageSurface, PrintDrawsBelowTheCurrentPointAndMovesALineDown) {
  auto surface = BlankSurface();
  surface->SetFontSize(8);
  EXPECT_EQ(surface->FontFamily(), "Liberation Sans");
  surface->SetCurrent(20, 40);  // pixel (20, 20)
  surface->Print("WWW");
  EXPECT_EQ(surface->CurrentX(), 10.0f);
  EXPECT_NEAR(surface->CurrentY(), 40 - surface->TextHeight("WWW"), 1e-5);
  EXPECT_GT(CountInRow(surface->Image(), 25, 20, 60, kBlackPixel), 0);
  EXPECT_EQ(CountInRow(surface->Image(), 19, 0, 200, kBlackPixel), 0);  // nothing above the top-left
}

}  // namespace
}  // namespace lakedrift::test

// Fonts need a GUI application; one lives for the whole test run, on a
// platform without a screen.
int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
