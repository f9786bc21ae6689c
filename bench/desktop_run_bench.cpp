// The desktop run as the main window does it, drawing every step on the
// 800 × 800 picture, on the whole-lake sample; and the cost of one step
// early and late in a run, which must not grow with the step number.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>

#include "model/GeometryReader.h"
#include "sim/SimulationRun.h"
#include "view/QtImageSurface.h"
#include "view/RunPicture.h"

namespace {

using namespace lakedrift;

constexpr int kPictureSize = 800;
constexpr double kReleaseX = 86.0, kReleaseY = 212.0;  // on the water of the whole lake

std::filesystem::path Sample(const char* name) {
  return std::filesystem::path(LAKEDRIFT_SAMPLE_DATA_DIR) / name;
}

// The whole lake with the start-up window's default choices (wet-season
// week, surface flow) or the dry-season week, whose strong trades make the
// arrows long and the picture heavy.
ModelState WholeLake(double particles, int season = 1) {
  ModelState state;
  if (!ReadGeometry(state, Sample("geomtan.inp")).ok()) std::abort();
  state.Region = 1, state.Season = static_cast<int16_t>(season), state.FlowType = 1;
  state.RegionTitle = "LAKE TANGANYIKA";
  state.VectorScale = 0.25, state.FrameCount = 83, state.FramePeriod = 1.0f;
  state.ParticleCount = particles, state.TimeStep = 7200.0, state.SimHours = 166, state.DiffusionCoef = 0.1;
  state.Magnification = 1.0f;
  state.FlowFileName = Sample(season == 1 ? "tanws.fld" : "tands.fld").string();
  state.ReleaseX = kReleaseX, state.ReleaseY = static_cast<float>(kReleaseY);
  return state;
}

void BM_DesktopRun(benchmark::State& bench) {
  ModelState state = WholeLake(static_cast<double>(bench.range(0)), static_cast<int>(bench.range(1)));
  QtImageSurface surface(kPictureSize, kPictureSize);
  for (auto _ : bench) {
    DrawnRun drawn_run(state, surface, 1);
    SimulationRun& run = drawn_run.run;
    if (!RunSimulation(run, [] { return true; }).ok()) std::abort();
    benchmark::DoNotOptimize(surface.Image().constBits());
  }
  bench.SetLabel(std::to_string(bench.range(0)) + " particles, " + (bench.range(1) == 1 ? "wet" : "dry") +
                 " week, 83 steps, drawn at 800x800");
}
BENCHMARK(BM_DesktopRun)
    ->ArgNames({"particles", "season"})
    ->ArgsProduct({{50, 500}, {1, 2}})
    ->Unit(benchmark::kMillisecond);

// One step at step number `range(0)`: early and late steps should cost the same.
void BM_DesktopStepAt(benchmark::State& bench) {
  ModelState state = WholeLake(50);
  QtImageSurface surface(kPictureSize, kPictureSize);
  const int step = static_cast<int>(bench.range(0));
  for (auto _ : bench) {
    bench.PauseTiming();
    DrawnRun drawn_run(state, surface, 1);
    SimulationRun& run = drawn_run.run;
    if (!run.Start().ok()) std::abort();
    for (int s = 1; s < step; ++s)
      if (!run.Step().ok()) std::abort();
    bench.ResumeTiming();
    if (!run.Step().ok()) std::abort();
  }
}
BENCHMARK(BM_DesktopStepAt)->Arg(2)->Arg(40)->Arg(80)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
