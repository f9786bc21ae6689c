// Cost of one full redraw of the picture (map and vectors) of the largest
// sample region on an 800 × 800 client area, the redraw that every zoom,
// scroll, animation frame and simulation step repeats.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <vector>

#include "model/FlowField.h"
#include "model/GeometryReader.h"
#include "view/MapView.h"
#include "view/QtImageSurface.h"

namespace {

using lakedrift::ModelState;

constexpr int kClientPixels = 800;
constexpr int kGridLines = 22;
constexpr int kLinesPerArrow = 3;
constexpr int kLegendLines = 3;
// Stand-in size when the sample data has not been generated: about as many
// nodes and coast points as the whole-lake region.
constexpr int kStandInNodes = 10000;
constexpr int kStandInCoast = 3000;
constexpr double kStandInLength = 650, kStandInWidth = 50;  // km
constexpr double kStandInMaxSpeed = 0.1;                    // m/s
constexpr double kPi = 3.14159265358979;

// The whole lake with the first frame of the wet-season surface flow.
std::optional<ModelState> SampleState() {
  const std::filesystem::path data(LAKEDRIFT_SAMPLE_DATA_DIR);
  ModelState s;
  s.Region = 1;
  s.RegionTitle = "LAKE TANGANYIKA";
  if (!std::filesystem::exists(data / "geomtan.inp") || !ReadGeometry(s, data / "geomtan.inp").ok())
    return std::nullopt;
  lakedrift::FlowFieldReader reader;
  lakedrift::PrepareFlowArrays(s);
  if (!reader.Open(data / "tanws.fld", s.NodeCount).ok() || !reader.ReadFlowFrame(s).ok())
    return std::nullopt;
  lakedrift::UpdateMaxSpeed(s);
  return s;
}

// A lake of the same size: an elliptic coast and nodes strewn inside it,
// most of them slow as in a wind-driven field.
ModelState StandInState() {
  ModelState s;
  s.RegionTitle = "LAKE TANGANYIKA";
  s.BoundaryRingCount = 1;
  s.BoundaryRingSize.Resize(1);
  s.BoundaryRingSize(1) = s.BoundaryCount = kStandInCoast;
  s.BoundaryX.Resize(kStandInCoast), s.BoundaryY.Resize(kStandInCoast);
  for (int j = 1; j <= kStandInCoast; ++j) {
    const double a = 2 * kPi * j / kStandInCoast;
    s.BoundaryX(j) = kStandInWidth / 2 * (1 + std::cos(a));
    s.BoundaryY(j) = static_cast<float>(kStandInLength / 2 * (1 + std::sin(a)));
  }
  s.MapXMin = kStandInWidth / 2 - kStandInLength / 2, s.MapYMin = 0;
  s.MapWidth = s.MapHeight = s.MapSize = static_cast<float>(kStandInLength);
  s.MapXMax = s.MapXMin + s.MapWidth, s.MapYMax = s.MapHeight;
  s.NodeCount = kStandInNodes;
  s.NodeX.Resize(kStandInNodes), s.NodeY.Resize(kStandInNodes);
  s.IsBoundaryNode.Resize(kStandInNodes);
  lakedrift::PrepareFlowArrays(s);
  std::mt19937 random(1);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int i = 1; i <= kStandInNodes; ++i) {
    s.NodeX(i) = kStandInWidth * unit(random), s.NodeY(i) = kStandInLength * unit(random);
    const double speed = kStandInMaxSpeed * std::pow(unit(random), 3), angle = 2 * kPi * unit(random);
    s.NodeU(i) = static_cast<float>(speed * std::cos(angle));
    s.NodeV(i) = static_cast<float>(speed * std::sin(angle));
  }
  s.MaxSpeed = kStandInMaxSpeed;
  return s;
}

int LinesPerRedraw(const ModelState& s) {
  int arrows = 0;
  for (int i = 1; i <= s.NodeCount; ++i) arrows += s.IsBoundaryNode(i) ? 0 : 1;
  return kGridLines + s.BoundaryCount + kLinesPerArrow * arrows + kLegendLines;
}

void BM_FullRedraw(benchmark::State& bench, ModelState s) {
  s.VectorScale = 0.25;
  s.VectorsShown = 1;
  s.Magnification = 1;
  lakedrift::QtImageSurface surface(kClientPixels, kClientPixels);
  lakedrift::SetMapScale(surface, s);
  for (auto _ : bench) {
    lakedrift::Redraw(surface, s);
    benchmark::DoNotOptimize(surface.Image().constBits());  // the picture is complete
  }
  const double lines = LinesPerRedraw(s);
  bench.counters["lines"] = lines;
  bench.counters["per_line"] = benchmark::Counter(lines * static_cast<double>(bench.iterations()),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// One step of a cloud of 10⁵ particles drawn as thin track segments (the
// run picture's new segments): a streak 60 × 10 km across the middle of
// the lake, each particle moved by up to half a kilometre.
void BM_CloudStep(benchmark::State& bench, ModelState s) {
  constexpr int kParticles = 100000;
  s.Magnification = 1;
  lakedrift::QtImageSurface surface(kClientPixels, kClientPixels);
  lakedrift::SetMapScale(surface, s);
  std::mt19937 random(1);
  std::uniform_real_distribution<float> along(0, 60), across(0, 10), move(-0.5f, 0.5f);
  const double left = s.MapXMin + (s.MapXMax - s.MapXMin) / 3,
               bottom = s.MapYMin + (s.MapYMax - s.MapYMin) / 3;
  std::vector<lakedrift::Surface::Segment> segments(kParticles);
  for (auto& l : segments) {
    l.x1 = static_cast<float>(left) + across(random), l.y1 = static_cast<float>(bottom) + along(random);
    l.x2 = l.x1 + move(random), l.y2 = l.y1 + move(random);
  }
  for (auto _ : bench) surface.Lines(segments);
  bench.SetItemsProcessed(bench.iterations() * kParticles);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);  // fonts need it
  if (std::optional<ModelState> sample = SampleState()) {
    benchmark::RegisterBenchmark("FullRedraw/whole_lake_sample", BM_FullRedraw, *sample)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("CloudStep/whole_lake_sample", BM_CloudStep, *sample)
        ->Unit(benchmark::kMillisecond);
  } else {
    std::fprintf(stderr, "sample data not generated: timing a stand-in lake of the same size\n");
  }
  benchmark::RegisterBenchmark("FullRedraw/stand_in_lake", BM_FullRedraw, StandInState())
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
