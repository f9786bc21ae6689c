#include "view/QtImageSurface.h"

#include <gtest/gtest.h>

#include <QColor>

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

// A square map 0..100 km seen in full on a square client area.
ModelState SquareMap() {
  ModelState s;
  s.RegionTitle = "LAKE TANGANYIKA";
  s.MapXMax = s.MapYMax = s.MapWidth = s.MapHeight = 100;
  s.MapSize = 100;
  s.Magnification = 1;
  return s;
}

// Pixels of a colour along one row, from x0 up to but excluding x1.
int CountInRow(const QImage& image, int y, int x0, int x1, QRgb colour) {
  int count = 0;
  for (int x = x0; x < x1; ++x) count += image.pixel(x, y) == colour ? 1 : 0;
  return count;
}

// A world point lands on its pixel with the axes scaled apart; a copy of
// the picture keeps what it showed while drawing goes on; a resize keeps
// what fits.
TEST(QtImageSurface, LineLandsOnItsPixelsAndStaysThroughCopyAndResize) {
  auto surface = BlankSurface();
  surface->Line(35, 30, 60, 30);  // pixel x 50..100, y 40
  const QImage before = surface->Image();  // a shallow copy, as a saved file or a repaint takes
  EXPECT_EQ(before.pixel(50, 40), kBlackPixel);
  EXPECT_EQ(before.pixel(49, 40), kWhite);
  EXPECT_EQ(CountInRow(before, 39, 0, 200, kBlackPixel) + CountInRow(before, 41, 0, 200, kBlackPixel), 0);
  surface->Line(35, 20, 60, 20);  // pixel row 60
  EXPECT_EQ(before.pixel(75, 60), kWhite);
  EXPECT_EQ(surface->Image().pixel(75, 60), kBlackPixel);
  surface->SetPixelSize(300, 50);
  ASSERT_EQ(surface->Image().size(), QSize(300, 50));
  EXPECT_EQ(surface->Image().pixel(60, 40), kBlackPixel);
  EXPECT_EQ(surface->Image().pixel(250, 10), kWhite);
}

TEST(QtImageSurface, DottedLineShowsGapsAndSolidDoesNot) {
  auto lit = [](LineStyle style) {
    auto surface = BlankSurface();
    surface->SetLineStyle(style);
    surface->Line(15, 30, 100, 30);  // pixels 10..180 along row 40
    return CountInRow(surface->Image(), 40, 10, 180, kBlackPixel);
  };
  EXPECT_EQ(lit(LineStyle::Solid), 170);
  const int dotted = lit(LineStyle::Dotted);
  EXPECT_GT(dotted, 170 / 4);
  EXPECT_LT(dotted, 170 * 3 / 4);
}

// The radius is in x units; after a zoom the same fraction of the view's
// width gives the same disc in pixels.
TEST(QtImageSurface, DiscOfAFixedViewFractionKeepsItsPixelRadiusAfterZoom) {
  ModelState s = SquareMap();
  QtImageSurface surface(400, 400);
  SetMapScale(surface, s);
  auto discWidth = [&surface]() {
    surface.Clear();
    surface.SetFillStyle(FillStyle::Solid);
    surface.SetFillColor(PaletteColour(kLightRed));
    const float x = surface.ScaleLeft() + surface.ScaleWidth() / 2;
    const float y = surface.ScaleTop() + surface.ScaleHeight() / 2;
    surface.Circle(x, y, 0.008f * surface.ScaleWidth(), PaletteColour(kLightRed));
    return CountInRow(surface.Image(), 200, 0, 400, ToQRgb(PaletteColour(kLightRed)));
  };
  const int before = discWidth();
  ZoomIn(surface, s);
  EXPECT_EQ(discWidth(), before);
  EXPECT_NEAR(before, 2 * 0.008 * 400, 2.0);
}

TEST(QtImageSurface, MagnificationBoxCoversItsText) {
  ModelState s = SquareMap();
  QtImageSurface surface(800, 800);
  SetMapScale(surface, s);
  ScrollHorizontal(surface, s, 0, 0, 32767);
  const QImage& image = surface.Image();
  const QRgb green = ToQRgb(PaletteColour(kLightGreen));
  QRect box;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 300; ++x)
      if (image.pixel(x, y) == green) box |= QRect(x, y, 1, 1);
  ASSERT_FALSE(box.isEmpty());
  int textPixels = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 300; ++x) {
      if (image.pixel(x, y) != kBlackPixel) continue;
      EXPECT_TRUE(box.contains(x, y)) << x << "," << y;
      ++textPixels;
    }
  }
  EXPECT_GT(textPixels, 50);
  EXPECT_NEAR(box.width(), surface.TextWidth(MagnificationLabel(1)) * 800 / surface.ScaleWidth(), 2);
}

TEST(QtImageSurface, TextIsLiberationSansBoldAtNinetySixDpi) {
  auto surface = BlankSurface();
  surface->SetFontSize(8);
  EXPECT_EQ(surface->FontFamily(), "Liberation Sans");
  // 8 points at 96 per inch: a line of about 11 pixels plus leading.
  const double linePixels = surface->TextHeight("X") * 100 / 50;
  EXPECT_GE(linePixels, 11);
  EXPECT_LE(linePixels, 15);
  surface->SetCurrent(20, 40);  // pixel (20, 20)
  surface->Print("WWW");
  EXPECT_EQ(surface->CurrentX(), 10.0f);  // back to the left edge, one line down
  EXPECT_NEAR(surface->CurrentY(), 40 - surface->TextHeight("WWW"), 1e-5);
  const QImage& image = surface->Image();
  EXPECT_GT(CountInRow(image, 20 + static_cast<int>(linePixels) / 2, 20, 60, kBlackPixel), 0);
  EXPECT_EQ(CountInRow(image, 19, 0, 200, kBlackPixel), 0);  // nothing above the top-left
}

}  // namespace
}  // namespace lakedrift::test
