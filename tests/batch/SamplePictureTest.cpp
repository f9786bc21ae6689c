// The picture of a default run on every shipped region, season and flow:
// the arrows must leave the water readable and the tracks visible.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "batch/BatchOptions.h"
#include "batch/RunImage.h"
#include "model/FlowField.h"
#include "model/GeometryReader.h"
#include "model/RunParameters.h"
#include "model/ShoreIndex.h"
#include "sim/SimulationRun.h"
#include "support/TestPaths.h"
#include "view/QtImageSurface.h"
#include "view/RunPicture.h"

namespace lakedrift {
namespace {

constexpr int kPixels = 800;
constexpr double kMostCoverage = 0.35;  // of the water's pixels under arrows, any picture
constexpr double kLeastMedian = 0.05;   // the flow must still show
constexpr int kLeastTrackPixels = 5;    // slow depth-averaged flows move the cloud a few pixels

struct Coverage {
  double arrows = 0;  // fraction of the water's pixels in arrow blue
  int tracks = 0;     // pixels in track red
};

// The interior node nearest the mean of the interior nodes: on the water
// of every region, away from its edges.
void ReleaseNearTheMiddle(ModelState& s) {
  std::vector<int> interior;
  double mx = 0, my = 0;
  for (int n = 1; n <= s.NodeCount; ++n)
    if (!s.IsBoundaryNode(n)) interior.push_back(n), mx += s.NodeX(n), my += s.NodeY(n);
  mx /= static_cast<double>(interior.size()), my /= static_cast<double>(interior.size());
  const auto distance = [&](int n) { return std::hypot(s.NodeX(n) - mx, s.NodeY(n) - my); };
  const int best = *std::min_element(interior.begin(), interior.end(),
                                     [&](int a, int b) { return distance(a) < distance(b); });
  s.ReleaseX = s.NodeX(best), s.ReleaseY = static_cast<float>(s.NodeY(best));
}

Coverage DrawDefaultRun(int region, int season, int flowType) {
  ModelState s;
  s.Region = static_cast<int16_t>(region), s.Season = static_cast<int16_t>(season);
  s.FlowType = static_cast<int16_t>(flowType);
  EXPECT_TRUE(ReadGeometry(s, test::SampleDataPath(GeometryFileName(region))).ok());
  s.FlowFileName = test::SampleDataPath(FlowFileNameFor(region, season, flowType)).string();
  s.RegionTitle = "LAKE", s.Magnification = 1;
  ApplyRunParameters(DefaultRunParameters(), s);
  ReleaseNearTheMiddle(s);
  RunImage image(kPixels);
  DrawnRun drawn(s, image.GetSurface(), 1997);
  EXPECT_TRUE(RunSimulation(drawn.run, [] { return true; }).ok());

  const auto& surface = dynamic_cast<const QtImageSurface&>(image.GetSurface());
  const QImage picture = surface.Image();
  const ShoreIndex water = ShoreIndex::ForKm(s);
  const ViewTransform view = surface.Transform();
  long wet = 0, covered = 0;
  Coverage result;
  for (int py = 0; py < picture.height(); ++py)
    for (int px = 0; px < picture.width(); ++px) {
      const QRgb pixel = picture.pixel(px, py);
      if (pixel == qRgb(255, 0, 0)) ++result.tracks;
      double x = 0, y = 0;
      view.ToWorld(px + 0.5, py + 0.5, x, y);
      if (!water.Contains(x, y)) continue;
      ++wet;
      if (pixel == qRgb(0, 0, 128)) ++covered;
    }
  result.arrows = wet > 0 ? static_cast<double>(covered) / static_cast<double>(wet) : 1.0;
  return result;
}

TEST(SamplePicture, ArrowsLeaveTheWaterReadableAndTracksVisible) {
  if (!std::filesystem::exists(test::SampleDataPath("geomtan.inp"))) GTEST_SKIP() << "no sample data";
  std::vector<double> coverages;
  for (int region = 1; region <= 3; ++region)
    for (int season = 1; season <= 2; ++season)
      for (int flowType = 1; flowType <= 2; ++flowType) {
        SCOPED_TRACE(FlowFileNameFor(region, season, flowType));
        const Coverage c = DrawDefaultRun(region, season, flowType);
        EXPECT_LE(c.arrows, kMostCoverage);
        EXPECT_GE(c.tracks, kLeastTrackPixels);
        coverages.push_back(c.arrows);
      }
  std::sort(coverages.begin(), coverages.end());
  const std::size_t mid = coverages.size() / 2;
  EXPECT_GE((coverages[mid - 1] + coverages[mid]) / 2, kLeastMedian);
}

}  // namespace
}  // namespace lakedrift
