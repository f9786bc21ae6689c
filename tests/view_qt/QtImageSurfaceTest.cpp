#include "view/QtImageSurface.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QGuiApplication>
#include <algorithm>
#include <ranges>

#include "model/ModelState.h"
#include "view/MapView.h"
#include "view/Palette.h"

namespace lakedrift::test {
namespace {

const QRgb kWhite = qRgb(255, 255, 255), kBlackPixel = qRgb(0, 0, 0);

// Pixels of a colour along one row, from x0 up to but excluding x1.
int CountInRow(const QImage& image, int y, int x0, int x1, QRgb colour = kBlackPixel) {
  return static_cast<int>(
      std::ranges::count_if(std::views::iota(x0, x1), [&](int x) { return image.pixel(x, y) == colour; }));
}

// A world point lands on its pixel with the axes scaled apart; a copy of
// the picture keeps what it showed while drawing goes on; a resize keeps
// what fits. A dotted line shows gaps. Printed text is Liberation Sans,
// drawn below and right of the current point, which then goes back to the
// left edge one line down.
TEST(QtImageSurface, LinesAndTextLandOnTheirPixelsAndStayThroughCopyAndResize) {
  QtImageSurface surface(200, 100);
  surface.SetScale(10, 50, 100, -50);  // x 10..110, y 50 down to 0
  surface.Clear();
  surface.Line(35, 30, 60, 30);           // pixel x 50..100, y 40
  const QImage before = surface.Image();  // a shallow copy, as a saved file or a repaint takes
  EXPECT_EQ(std::tuple(CountInRow(before, 40, 50, 101), CountInRow(before, 40, 0, 200),
                       CountInRow(before, 39, 0, 200) + CountInRow(before, 41, 0, 200)),
            std::tuple(51, 51, 0))
      << "lit on row 40 from x 50 to 100, nowhere else";
  surface.Line(35, 20, 60, 20);  // pixel row 60
  EXPECT_EQ(std::pair(before.pixel(75, 60), surface.Image().pixel(75, 60)), std::pair(kWhite, kBlackPixel));
  surface.SetLineStyle(LineStyle::Dotted);  // the dots themselves are the rasterizer's
  surface.Line(15, 10, 100, 10);            // pixels 10..180 along row 80
  EXPECT_NEAR(CountInRow(surface.Image(), 80, 10, 180), 170 / 2, 170 / 4) << "a dotted line shows no gaps";

  surface.SetFontSize(8);
  surface.SetCurrent(20, 40);  // pixel (20, 20)
  surface.Print("WWW");
  EXPECT_EQ(std::pair(surface.FontFamily(), surface.CurrentX()),
            std::pair(QString("Liberation Sans"), 10.0f));
  EXPECT_NEAR(surface.CurrentY(), 40 - surface.TextHeight("WWW"), 1e-5);
  EXPECT_GT(CountInRow(surface.Image(), 25, 20, 60), 0);
  EXPECT_EQ(CountInRow(surface.Image(), 19, 0, 200), 0);  // nothing above the top-left

  surface.SetPixelSize(300, 50);
  const QImage resized = surface.Image();
  EXPECT_EQ(std::tuple(resized.size(), resized.pixel(60, 40), resized.pixel(250, 10)),
            std::tuple(QSize(300, 50), kBlackPixel, kWhite));
}

// The radius is in x units; after a zoom the same fraction of the view's
// width gives the same disc in pixels.
TEST(QtImageSurface, DiscOfAFixedViewFractionKeepsItsPixelRadiusAfterZoom) {
  ModelState s;  // a square map 0..100 km seen in full on a square client area
  s.MapXMax = s.MapYMax = s.MapWidth = s.MapHeight = s.MapSize = 100;
  s.Magnification = 1;
  QtImageSurface surface(400, 400);
  SetMapScale(surface, s);
  const Rgb red = PaletteColour(kLightRed);
  auto discWidth = [&] {
    surface.Clear(), surface.SetFillStyle(FillStyle::Solid), surface.SetFillColor(red);
    surface.Circle(surface.ScaleLeft() + surface.ScaleWidth() / 2,
                   surface.ScaleTop() + surface.ScaleHeight() / 2, 0.008f * surface.ScaleWidth(), red);
    return CountInRow(surface.Image(), 200, 0, 400, qRgb(red.r, red.g, red.b));
  };
  const int before = discWidth();
  ZoomIn(surface, s);
  EXPECT_EQ(discWidth(), before);
  EXPECT_NEAR(before, 2 * 0.008 * 400, 2.0);
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
