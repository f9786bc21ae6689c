// Particle tracking at scale: particle-steps per second of whole threaded
// batch runs of 10^4 … 10^6 particles on 1 and 2 threads (the 10^6 run's
// time is the whole-run figure), the shore test plain and indexed, the
// deviate pairs of a chunk of particles, and the reference drawn run of 50 and 500 particles on a surface
// that records nothing. Runs on the whole-lake sample (geomtan.inp, tanws.fld) when it has been generated,
// otherwise on the committed 10 km test lake.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/GeometryReader.h"
#include "model/PointInLake.h"
#include "model/ShoreIndex.h"
#include "sim/CounterRandom.h"
#include "sim/ParallelRun.h"
#include "sim/SimulationRun.h"
#include "view/RunPicture.h"

namespace {

using lakedrift::ModelState;
using lakedrift::ParallelRun;

constexpr uint64_t kSeed = 20240601;
constexpr int kShorePoints = 1 << 14;      // on-water query points, cycled through
constexpr double kDefaultDiffusion = 0.1;  // m²/s, the run's default
// The release element of the whole lake, as a fraction of the element count:
// an open-water element about the middle of the lake.
constexpr int kReleaseElementDivisor = 2;

// A surface that draws nothing, so the reference run's cost is its own.
class NullSurface : public lakedrift::Surface {
 public:
  void Clear() override {}
  void Line(float, float, float, float) override {}
  void FilledBox(float, float, float, float, lakedrift::Rgb) override {}
  void Circle(float, float, float, lakedrift::Rgb) override {}
  void Print(const std::string&) override {}
  float TextWidth(const std::string&) const override { return 1; }
  float TextHeight(const std::string&) const override { return 1; }
};

// The lake of the benchmark with the run defaults, released at the centre
// of an element about the middle of the lake.
ModelState BenchState() {
  const std::filesystem::path sample(LAKEDRIFT_SAMPLE_DATA_DIR);
  const bool whole =
      std::filesystem::exists(sample / "geomtan.inp") && std::filesystem::exists(sample / "tanws.fld");
  // The committed test lake lies beside this file's folder.
  const std::filesystem::path folder =
      whole ? sample : std::filesystem::path(__FILE__).parent_path() / ".." / "tests" / "data";
  ModelState s;
  if (!lakedrift::ReadGeometry(s, folder / (whole ? "geomtan.inp" : "testlake.inp")).ok()) std::abort();
  s.FlowFileName = (folder / (whole ? "tanws.fld" : "testlake.fld")).string();
  s.Season = 1;
  s.TimeStep = 7200.0;
  s.SimHours = 166;
  s.DiffusionCoef = kDefaultDiffusion;
  const int e = s.ElementCount / kReleaseElementDivisor;
  double cx = 0, cy = 0;
  for (int j = 1; j <= 3; ++j) cx += s.NodeX(s.ElemNode(j, e)) / 3, cy += s.NodeY(s.ElemNode(j, e)) / 3;
  s.ReleaseX = cx, s.ReleaseY = static_cast<float>(cy);
  if (lakedrift::PointInLake(s, cx, cy) == 0) std::abort();
  return s;
}

const ModelState& Lake() {
  static const ModelState state = BenchState();
  return state;
}

// Resident memory of the process in bytes.
long ResidentBytes() {
  long pages = 0, resident = 0;
  std::ifstream statm("/proc/self/statm");
  statm >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

// Particle-steps per second over whole runs (83 steps from the release,
// the cloud spreading as it goes; frame reading included), tracks off, and
// the resident memory a run adds per particle.
void BM_ParallelRun(benchmark::State& bench) {
  ModelState state = Lake();
  const int64_t particles = bench.range(0);
  state.ParticleCount = static_cast<double>(particles);
  const int threads = static_cast<int>(bench.range(1));
  int64_t particleSteps = 0;
  std::size_t held = 0;
  long added = 0;
  for (auto _ : bench) {
    const long before = ResidentBytes();
    ParallelRun run(state, kSeed, threads);
    if (!run.Start().ok()) bench.SkipWithError("flow file");
    held = run.HeldBytes();
    added = std::max(added, ResidentBytes() - before);
    if (!run.Run().ok()) bench.SkipWithError("flow file");
    particleSteps += particles * run.StepsDone();
  }
  bench.SetItemsProcessed(particleSteps);
  bench.counters["threads"] = threads;
  // What the run holds, and what the process grew by when the run started
  // (0 when an earlier run's pages were reused).
  bench.counters["held_bytes_per_particle"] = static_cast<double>(held) / static_cast<double>(particles);
  bench.counters["rss_bytes_per_particle"] = static_cast<double>(added) / static_cast<double>(particles);
}
BENCHMARK(BM_ParallelRun)
    ->ArgsProduct({{10000, 100000, 1000000}, {1, 2}})
    ->ArgNames({"particles", "threads"})
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

// Points on the water spread over the whole lake, in metres.
std::vector<std::pair<double, double>> WaterPoints(const ModelState& s) {
  std::mt19937_64 random(kSeed);
  std::uniform_real_distribution<double> xs(s.MapXMin * 1000, s.MapXMax * 1000),
      ys(s.MapYMin * 1000, s.MapYMax * 1000);
  std::vector<std::pair<double, double>> points;
  while (points.size() < kShorePoints) {
    const double x = xs(random), y = ys(random);
    if (lakedrift::PointInLakeMetres(s, x, y) == 1) points.emplace_back(x, y);
  }
  return points;
}

void BM_ShoreTestPlain(benchmark::State& bench) {
  const ModelState& s = Lake();
  const auto points = WaterPoints(s);
  std::size_t i = 0;
  for (auto _ : bench) {
    const auto& [x, y] = points[i++ % points.size()];
    benchmark::DoNotOptimize(lakedrift::PointInLakeMetres(s, x, y));
  }
  bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_ShoreTestPlain);

void BM_ShoreTestIndexed(benchmark::State& bench) {
  const ModelState& s = Lake();
  const auto points = WaterPoints(s);
  const lakedrift::ShoreIndex index = lakedrift::ShoreIndex::ForMetres(s);
  std::size_t i = 0;
  for (auto _ : bench) {
    const auto& [x, y] = points[i++ % points.size()];
    benchmark::DoNotOptimize(index.Contains(x, y));
  }
  bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_ShoreTestIndexed);

// The deviate pairs of a chunk of 4096 particles at one step, as the
// threaded run draws them (side by side: eight streams in AVX2 lanes where
// the processor has it), and the same one stream at a time. Steps cycle as
// a run's do; items are pairs.
void BM_DeviatePairs(benchmark::State& bench) {
  constexpr uint64_t kChunk = 4096, kSteps = 83;
  const bool sideBySide = bench.range(0) != 0;
  const lakedrift::CounterRandom random(kSeed);
  std::vector<float> first(kChunk), second(kChunk);
  uint64_t step = 1;
  for (auto _ : bench) {
    if (sideBySide)
      random.Pairs(1, step - 1, first, second);
    else
      random.PairsOneByOne(1, step - 1, first, second);
    benchmark::DoNotOptimize(first.data());
    benchmark::DoNotOptimize(second.data());
    step = step % kSteps + 1;
  }
  bench.SetItemsProcessed(bench.iterations() * static_cast<int64_t>(kChunk));
}
BENCHMARK(BM_DeviatePairs)->ArgName("side_by_side")->Arg(1)->Arg(0);

// The reference run, drawing on nothing: a whole run per iteration.
void BM_ReferenceRun(benchmark::State& bench) {
  ModelState state = Lake();
  state.ParticleCount = static_cast<double>(bench.range(0));
  int64_t particleSteps = 0;
  for (auto _ : bench) {
    NullSurface surface;
    lakedrift::DrawnRun drawn_run(state, surface, kSeed);
    lakedrift::SimulationRun& run = drawn_run.run;
    if (!lakedrift::RunSimulation(run, [] { return true; }).ok()) bench.SkipWithError("flow file");
    particleSteps += bench.range(0) * run.StepsDone();
  }
  bench.SetItemsProcessed(particleSteps);
}
BENCHMARK(BM_ReferenceRun)->Arg(50)->Arg(500)->ArgName("particles")->Unit(benchmark::kMillisecond);

// Names the lake and its size in the report's header.
std::string LakeDescription() {
  const ModelState& s = Lake();
  return std::filesystem::path(s.FlowFileName).filename().string() + ", " + std::to_string(s.NodeCount) +
         " nodes, " + std::to_string(s.ElementCount) + " elements, " + std::to_string(s.BoundaryCount) +
         " coast points in " + std::to_string(s.BoundaryRingCount) + " rings";
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::AddCustomContext("lake", LakeDescription());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
