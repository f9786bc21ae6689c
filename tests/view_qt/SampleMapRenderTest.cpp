#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "model/FlowField.h"
#include "model/GeometryReader.h"
#include "support/TestPaths.h"
#include "view/LakeMap.h"
#include "view/MapView.h"
#include "view/Palette.h"
#include "view/QtImageSurface.h"
#include "view/VelocityVectors.h"

namespace lakedrift::test {
namespace {

constexpr int kPicturePixels = 800;

// A square lake 0..100 km with a gyre turning anticlockwise through a
// 10 × 10 grid of interior nodes.
ModelState HandBuiltLake() {
  ModelState s;
  s.RegionTitle = "LAKE TANGANYIKA";
  s.BoundaryRingCount = 1;
  s.BoundaryRingSize.Resize(1);
  s.BoundaryRingSize(1) = s.BoundaryCount = 4;
  s.BoundaryX.Resize(4), s.BoundaryY.Resize(4);
  const double corners[4][2] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  for (int j = 1; j <= 4; ++j)
    s.BoundaryX(j) = corners[j - 1][0], s.BoundaryY(j) = static_cast<float>(corners[j - 1][1]);
  s.MapXMax = s.MapYMax = s.MapWidth = s.MapHeight = 100;
  s.MapSize = 100;
  constexpr int kSide = 10;
  s.NodeCount = kSide * kSide;
  s.NodeX.Resize(s.NodeCount), s.NodeY.Resize(s.NodeCount), s.IsBoundaryNode.Resize(s.NodeCount);
  PrepareFlowArrays(s);
  for (int i = 1; i <= s.NodeCount; ++i) {
    s.NodeX(i) = 5 + 10 * ((i - 1) % kSide), s.NodeY(i) = 5 + 10 * ((i - 1) / kSide);
    s.NodeU(i) = static_cast<float>(-(s.NodeY(i) - 50) * 1e-3);
    s.NodeV(i) = static_cast<float>((s.NodeX(i) - 50) * 1e-3);
  }
  UpdateMaxSpeed(s);
  s.VectorScale = 0.1;
  return s;
}

// The whole-lake sample region with the first frame of the wet-season
// surface flow, when the sample data has been generated.
std::optional<ModelState> WholeLakeSample() {
  const auto geometry = SampleDataPath("geomtan.inp"), flow = SampleDataPath("tanws.fld");
  if (!std::filesystem::exists(geometry) || !std::filesystem::exists(flow)) return std::nullopt;
  ModelState s;
  s.Region = 1;
  s.RegionTitle = "LAKE TANGANYIKA";
  if (!ReadGeometry(s, geometry).ok()) return std::nullopt;
  FlowFieldReader reader;
  PrepareFlowArrays(s);
  if (!reader.Open(flow, s.NodeCount).ok() || !reader.ReadFlowFrame(s).ok()) return std::nullopt;
  UpdateMaxSpeed(s);
  s.VectorScale = 0.25;
  return s;
}

// Draws the start-up picture with vectors and saves it for a look.
QImage RenderAndSave(ModelState& s, const std::string& name) {
  QtImageSurface surface(kPicturePixels, kPicturePixels);
  s.Magnification = 1;
  SetMapScale(surface, s);
  DrawMap(surface, s);
  DrawMagnificationLabel(surface, s, false);
  DrawVectors(surface, s);
  const auto path = FreshOutputDir("sample_map") / (name + ".png");
  EXPECT_TRUE(surface.Image().save(QString::fromStdString(path.string())));
  return surface.Image();
}

int CountColour(const QImage& image, Rgb colour) {
  const QRgb wanted = qRgb(colour.r, colour.g, colour.b);
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == wanted ? 1 : 0;
  return count;
}

// Every layer of the picture leaves pixels of its own colour.
void ExpectAllLayers(const QImage& image) {
  EXPECT_GT(CountColour(image, PaletteColour(kBlack)), 500);      // coast and label
  EXPECT_GT(CountColour(image, PaletteColour(kBlue)), 500);       // arrows
  EXPECT_GT(CountColour(image, PaletteColour(kLightBlue)), 500);  // title, grid, km labels
}

TEST(SampleMapRender, HandBuiltLakeShowsMapGridAndArrows) {
  ModelState s = HandBuiltLake();
  ExpectAllLayers(RenderAndSave(s, "hand_built_lake"));
}

TEST(SampleMapRender, WholeLakeSampleShowsMapGridAndArrows) {
  std::optional<ModelState> s = WholeLakeSample();
  if (!s) GTEST_SKIP() << "sample data not generated";
  ExpectAllLayers(RenderAndSave(*s, "whole_lake"));
}

}  // namespace
}  // namespace lakedrift::test
