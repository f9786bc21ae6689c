// The picture of a default run on every shipped region, season and flow:
// the arrows must leave the water readable and the tracks visible.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <ranges>
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

constexpr double kMostCoverage = 0.35;  // of the water's pixels under arrows, any picture
constexpr double kLeastMedian = 0.05;   // the flow must still show
constexpr int kLeastTrackPixels = 5;    // slow depth-averaged flows move the cloud a few pixels

TEST(SamplePicture, ArrowsLeaveTheWaterReadableAndTracksVisible) {
  if (!std::filesystem::exists(test::SampleDataPath("geomtan.inp"))) GTEST_SKIP() << "no sample data";
  std::vector<double> coverages;
  for (int i = 0; i < 12; ++i) {  // region, season, flow
    const int region = i / 4 + 1, season = i / 2 % 2 + 1, flow = i % 2 + 1;
    SCOPED_TRACE(FlowFileNameFor(region, season, flow));
    ModelState s;
    s.Region = static_cast<int16_t>(region), s.Season = static_cast<int16_t>(season);
    s.FlowType = static_cast<int16_t>(flow), s.RegionTitle = "LAKE", s.Magnification = 1;
    ASSERT_TRUE(ReadGeometry(s, test::SampleDataPath(GeometryFileName(region))).ok());
    s.FlowFileName = test::SampleDataPath(FlowFileNameFor(region, season, flow)).string();
    ApplyRunParameters(DefaultRunParameters(), s);
    // Released at the interior node nearest the interior's mean: on the water, away from the edges.
    double mx = 0, my = 0, count = 0;
    for (int n = 1; n <= s.NodeCount; ++n)
      if (!s.IsBoundaryNode(n)) mx += s.NodeX(n), my += s.NodeY(n), ++count;
    auto off = [&](int n) {
      return s.IsBoundaryNode(n) ? HUGE_VAL : std::hypot(s.NodeX(n) - mx / count, s.NodeY(n) - my / count);
    };
    const int best = *std::ranges::min_element(std::views::iota(1, s.NodeCount + 1), {}, off);
    s.ReleaseX = s.NodeX(best), s.ReleaseY = static_cast<float>(s.NodeY(best));
    RunImage image(800);
    DrawnRun drawn(s, image.GetSurface(), 1997);
    ASSERT_TRUE(RunSimulation(drawn.run, [] { return true; }).ok());
    const auto& surface = dynamic_cast<const QtImageSurface&>(image.GetSurface());
    const QImage picture = surface.Image();
    const ShoreIndex water = ShoreIndex::ForKm(s);
    const ViewTransform view = surface.Transform();
    long wet = 0, covered = 0, tracks = 0;
    for (int py = 0; py < picture.height(); ++py)
      for (int px = 0; px < picture.width(); ++px) {
        double x = 0, y = 0;
        view.ToWorld(px + 0.5, py + 0.5, x, y);
        tracks += picture.pixel(px, py) == qRgb(255, 0, 0);
        if (water.Contains(x, y)) ++wet, covered += picture.pixel(px, py) == qRgb(0, 0, 128);
      }
    coverages.push_back(static_cast<double>(covered) / static_cast<double>(wet));
    EXPECT_LE(coverages.back(), kMostCoverage);
    EXPECT_GE(tracks, kLeastTrackPixels);
  }
  std::sort(coverages.begin(), coverages.end());
  EXPECT_GE((coverages[5] + coverages[6]) / 2, kLeastMedian) << "median of the twelve pictures";
}

}  // namespace
}  // namespace lakedrift
