#include "batch/BatchCommands.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <utility>

#include <QImage>

#include "batch/AnimateCommand.h"
#include "batch/BatchOptions.h"
#include "batch/CsvTrackWriter.h"
#include "batch/DensityGrid.h"
#include "batch/DensityImage.h"
#include "batch/GeoJsonTrackWriter.h"
#include "batch/GifFilm.h"
#include "batch/ImportCommand.h"
#include "batch/NetcdfTrackWriter.h"
#include "batch/ProgressBar.h"
#include "batch/RunImage.h"
#include "model/DataFiles.h"
#include "model/FlowField.h"
#include "model/GeometryReader.h"
#include "model/NumberFormat.h"
#include "model/PointInLake.h"
#include "model/Region.h"
#include "model/RunParameters.h"
#include "sim/ElementLocation.h"
#include "sim/GaussianRandom.h"
#include "sim/HeadlessRun.h"
#include "sim/LevelPainter.h"
#include "sim/ParallelRun.h"
#include "sim/RunClock.h"
#include "sim/SimulationRun.h"
#include "ugrid/MemoryFlowFile.h"
#include "view/RunPicture.h"

namespace lakedrift {
namespace {

// Particles are numbered in 32 bits in the NetCDF file and the runs.
constexpr long kMaxParticles = 2147483647;

const char* kUsage = R"(usage: lakedrift-batch COMMAND [ARGUMENTS]

Commands:
  info GEOMETRY     counts and map extent of a geometry file
  probe GEOMETRY    for lines "x y" (km) on standard input, prints
                    "x y inlake element"; --lonlat for "lon lat" lines
  run [OPTIONS]     a particle-tracking run with exports (run --help)
  import MODEL.nc --out DIR
                    a UGRID mesh and its velocities as a geometry file and
                    flow frames (import --help)
  animate [OPTIONS] the flow animation of a scenario as a GIF (animate --help)
  help              this text
)";

const char* kInfoHelp = R"(usage: lakedrift-batch info GEOMETRY

Prints one "Name value" line each for NodeCount, ElementCount, BoundaryCount,
BoundaryRingCount, MapXMin, MapXMax, MapYMin, MapYMax, MapWidth, MapHeight and
MapSize (km), numbers with round-trip precision.
)";

const char* kProbeHelp = R"(usage: lakedrift-batch probe GEOMETRY [--lonlat] < points

Reads lines "x y" in km from standard input and prints for each
"x y inlake element": inlake is 1 when the point lies on the water (islands
excluded), element the first mesh element that holds the point (0 when none).
With --lonlat the lines are "lon lat" in degrees (WGS84), taken to the grid
by the geometry file's georef line, and each answer is
"lon lat x y inlake element" with x and y in km.
)";

int Fail(std::ostream& err, const Status& status) {
  err << "lakedrift-batch: " << status.message() << '\n';
  return kExitBadInput;
}

Status LoadGeometry(ModelState& state, const std::string& path) {
  Status s = ReadGeometry(state, DataFilePath(path));
  if (s.kind() == ErrorKind::FileMissing)
    return Status::Fail(ErrorKind::FileMissing, "geometry file " + path + ": not found");
  return s;
}

int Info(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h")) return out << kInfoHelp, kExitOk;
  if (args.size() != 2)
    return Fail(err, Status::Fail(ErrorKind::BadValue, "info: expected one GEOMETRY file"));
  ModelState state;
  if (Status s = LoadGeometry(state, args[1]); !s.ok()) return Fail(err, s);
  out << "NodeCount " << state.NodeCount << "\nElementCount " << state.ElementCount << "\nBoundaryCount "
      << state.BoundaryCount << "\nBoundaryRingCount " << state.BoundaryRingCount << "\nMapXMin "
      << RoundTrip(state.MapXMin) << "\nMapXMax " << RoundTrip(state.MapXMax) << "\nMapYMin "
      << RoundTrip(state.MapYMin) << "\nMapYMax " << RoundTrip(state.MapYMax) << "\nMapWidth "
      << RoundTrip(state.MapWidth) << "\nMapHeight " << RoundTrip(state.MapHeight) << "\nMapSize "
      << RoundTrip(state.MapSize) << '\n';
  return kExitOk;
}

// The next probe point from a line: x and y in km, or with `georef` a
// longitude and latitude turned into them; the line's two numbers as typed
// in `texts`.
Status ProbePoint(const std::string& line, int lineNumber, const LakeGeoref* georef, double& x, double& y,
                  std::string (&texts)[2]) {
  std::istringstream fields(line);
  std::string& xText = texts[0];
  std::string& yText = texts[1];
  std::string extra;
  fields >> xText;
  const auto first = ParseNumberItem(xText);
  const auto second = (fields >> yText) ? ParseNumberItem(yText) : std::nullopt;
  if (!first || !second || (fields >> extra))
    return Status::Fail(ErrorKind::BadValue,
                        "probe: standard input line " + std::to_string(lineNumber) +
                            (georef ? ": expected \"lon lat\" in degrees" : ": expected \"x y\" in km") +
                            ", got '" + line + "'");
  x = *first;
  y = *second;
  if (georef) georef->FromLonLat(*first, *second, x, y);
  return Status::Ok();
}

int Probe(const std::vector<std::string>& argsIn, std::istream& in, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args = argsIn;
  const auto lonLatOption = std::find(args.begin(), args.end(), "--lonlat");
  const bool lonLat = lonLatOption != args.end();
  if (lonLat) args.erase(lonLatOption);
  if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h")) return out << kProbeHelp, kExitOk;
  if (args.size() != 2)
    return Fail(err, Status::Fail(ErrorKind::BadValue, "probe: expected one GEOMETRY file"));
  ModelState state;
  if (Status s = LoadGeometry(state, args[1]); !s.ok()) return Fail(err, s);
  LakeGeoref georef;
  if (lonLat)
    if (Status s = georef.Open(state.Georef, "probe --lonlat"); !s.ok()) return Fail(err, s);
  std::string line;
  int lineNumber = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;  // blank lines are skipped
    double x = 0, y = 0;
    std::string texts[2];
    if (Status s = ProbePoint(line, lineNumber, lonLat ? &georef : nullptr, x, y, texts); !s.ok())
      return Fail(err, s);
    const int element = LocateByScan(state, x * kMetresPerKm, y * kMetresPerKm);
    out << texts[0] << ' ' << texts[1] << ' ';
    if (lonLat) out << RoundTrip(x) << ' ' << RoundTrip(y) << ' ';
    out << PointInLake(state, x, y) << ' ' << element << '\n';
  }
  return kExitOk;
}

// The geometry file of a scenario given by region or by files.
std::string ScenarioGeometry(const ScenarioOptions& o, const ModelState& state) {
  return o.geometry.empty() ? GeometryFileName(state.Region) : o.geometry;
}

// The geometry's georef, opened when it has one; an option that needs it
// fails when it has none.
Status OpenGeoref(const RunOptions& o, const ModelState& state, LakeGeoref& georef, bool& hasGeoref) {
  hasGeoref = !state.Georef.empty();
  for (const auto& [asked, what] :
       {std::pair{o.hasReleaseLonLat, "--release-lonlat"}, std::pair{!o.geojson.empty(), "--geojson"},
        std::pair{hasGeoref, "georef"}})
    if (asked) return georef.Open(state.Georef, what);
  return Status::Ok();
}

// What a run reads besides its options: the georef of its geometry and,
// for --ugrid, the frames held in memory and the time of frame 0.
struct RunInputs {
  LakeGeoref georef;
  bool hasGeoref = false;
  MemoryFlowFile flow;
  DateTime start;
};

// The geometry and frames of a UGRID file; the frames in memory.
Status LoadUgrid(const RunOptions& o, ModelState& state, RunInputs& in) {
  UgridModel model;
  std::string geometry;
  if (Status s = model.Open(o.ugrid, o.ugridOptions); !s.ok()) return s;
  if (Status s = model.GeometryText(geometry); !s.ok()) return s;
  if (Status s = ReadGeometryText(state, geometry, o.ugrid); !s.ok()) return s;
  if (Status s = in.flow.Fill(model); !s.ok()) return s;
  state.FlowFileName = in.flow.Path();
  state.RegionTitle = std::filesystem::path(o.ugrid).stem().string();
  in.start = model.Start();
  return Status::Ok();
}

// Everything a run needs from its options, checked before it starts.
Status PrepareRun(RunOptions& o, ModelState& state, RunInputs& in) {
  const bool ugrid = !o.ugrid.empty();
  if (Status s = PrepareScenario(o, state, !ugrid); !s.ok()) return s;
  const std::string geometry = ugrid ? o.ugrid : ScenarioGeometry(o, state);
  if (ugrid) {
    if (Status s = LoadUgrid(o, state, in); !s.ok()) return s;
  } else {
    in.start = ScenarioStart(state.Season);
  }
  if (Status s = OpenGeoref(o, state, in.georef, in.hasGeoref); !s.ok()) return s;
  if (o.hasReleaseLonLat) in.georef.FromLonLat(o.releaseLon, o.releaseLat, o.releaseX, o.releaseY);
  state.ParticleCount = static_cast<double>(o.particles);
  state.DiffusionCoef = o.diffusion;
  state.ReleaseX = o.releaseX;
  state.ReleaseY = static_cast<float>(o.releaseY);
  if (PointInLake(state, state.ReleaseX, state.ReleaseY) == 0)
    return Status::Fail(
        ErrorKind::BadValue,
        (o.hasReleaseLonLat ? "--release-lonlat " + RoundTrip(o.releaseLon) + " " + RoundTrip(o.releaseLat) +
                                  " (" + RoundTrip(o.releaseX) + " " + RoundTrip(o.releaseY) + " km)"
                            : "--release " + RoundTrip(o.releaseX) + " " + RoundTrip(o.releaseY)) +
            ": the point is not on the water of " + geometry);
  for (const auto& [path, what] :
       {std::pair{o.tracks, "--tracks"}, std::pair{o.netcdf, "--netcdf"}, std::pair{o.image, "--image"},
        std::pair{o.density, "--density"}, std::pair{o.geojson, "--geojson"}, std::pair{o.film, "--film"},
        std::pair{o.densityImage, "--density-image"}})
    if (!path.empty())
      if (Status s = CheckWritableFolder(path, what); !s.ok()) return s;
  if (!o.image.empty())
    if (Status s = RunImage::CheckName(o.image, "--image"); !s.ok()) return s;
  if (!o.densityImage.empty())
    if (Status s = RunImage::CheckName(o.densityImage, "--density-image"); !s.ok()) return s;
  if (!o.film.empty())
    if (Status s = GifFilm::CheckName(o.film, "--film"); !s.ok()) return s;
  return Status::Ok();
}

// The sinks the options ask for, opened.
Status OpenSinks(const RunOptions& o, const ModelState& state, uint64_t seed, int levels, const RunInputs& in,
                 std::vector<std::unique_ptr<TrackSink>>& sinks) {
  const DateTime start = in.start;
  const LakeGeoref* georef = in.hasGeoref ? &in.georef : nullptr;
  if (!o.geojson.empty()) sinks.push_back(std::make_unique<GeoJsonTrackWriter>(o.geojson, start, *georef));
  if (!o.tracks.empty()) {
    auto csv = std::make_unique<CsvTrackWriter>(o.tracks, start, georef);
    if (Status s = csv->Open(); !s.ok()) return s;
    sinks.push_back(std::move(csv));
  }
  if (!o.netcdf.empty()) {
    std::map<std::string, std::string> attributes = {
        {"seed", std::to_string(seed)},
        {"particles", std::to_string(o.particles)},
        {"diffusion_coefficient_m2_s", RoundTrip(o.diffusion)},
        {"release_x_km", RoundTrip(o.releaseX)},
        {"release_y_km", RoundTrip(o.releaseY)},
        {"flow_file", o.ugrid.empty() ? state.FlowFileName : o.ugrid}};
    if (georef) attributes["georef"] = georef->Definition();
    auto nc = std::make_unique<NetcdfTrackWriter>(o.netcdf, start, static_cast<int>(o.particles), levels,
                                                  std::move(attributes), georef);
    if (Status s = nc->Open(); !s.ok()) return s;
    sinks.push_back(std::move(nc));
  }
  return Status::Ok();
}

bool WantsPictures(const RunOptions& o) { return !o.image.empty() || !o.film.empty(); }

// Bytes a run holds for each particle: the positions of the engine the
// options choose (the drawn run keeps every level), the final positions
// kept for the density grid, and the NetCDF writer's numbers and times.
double BytesPerParticle(const RunOptions& o, int levels) {
  constexpr double kPosition = sizeof(double) + sizeof(float);
  // A picture holds one step's lines while it draws them; the parallel
  // run's picture also holds two levels.
  constexpr double kLine = sizeof(Surface::Segment);
  constexpr double kParallelPicture = 2 * kPosition + kLine;
  double bytes = kPosition;
  if (o.asDesktop)
    bytes += WantsPictures(o) ? kPosition * levels + kPosition + kLine : kPosition;
  else
    bytes += ParallelRun::kBytesPerParticle + (WantsPictures(o) ? kParallelPicture : 0);
  if (!o.netcdf.empty()) bytes += sizeof(int) + sizeof(double);
  return bytes;
}

// The memory the system can give without swapping, in bytes.
double AvailableMemoryBytes() {
  constexpr double kBytesPerKiB = 1024;
  std::ifstream meminfo("/proc/meminfo");
  std::string name, unit;
  double kib = 0;
  while (meminfo >> name >> kib >> unit)
    if (name == "MemAvailable:") return kib * kBytesPerKiB;
  return static_cast<double>(sysconf(_SC_AVPHYS_PAGES)) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// Refuses a particle count whose arrays would not fit in memory, before
// anything is allocated for them, or that the outputs cannot number.
Status CheckParticleCount(const RunOptions& o, int levels) {
  const std::string option = "--particles " + std::to_string(o.particles) + ": ";
  const double needed = std::ceil(BytesPerParticle(o, levels) * static_cast<double>(o.particles));
  const double available = AvailableMemoryBytes();
  if (needed > available) {
    char text[128];
    std::snprintf(text, sizeof text,
                  "the run would need %.0f bytes of memory, more than the %.0f bytes available", needed,
                  available);
    return Status::Fail(ErrorKind::BadValue, option + text);
  }
  if (o.particles > kMaxParticles)
    return Status::Fail(ErrorKind::BadValue, option + "at most " + std::to_string(kMaxParticles) +
                                                 " particles can be numbered in the outputs");
  return Status::Ok();
}

// Stops a run whose positions have left the range of numbers: nothing of it
// is worth writing.
Status CheckFinite(int level, std::span<const double> x, std::span<const float> y) {
  for (std::size_t p = 0; p < x.size(); ++p)
    if (!std::isfinite(x[p]) || !std::isfinite(y[p]))
      return Status::Fail(ErrorKind::BadValue, "the run stopped at track level " + std::to_string(level) +
                                                   ": particle " + std::to_string(p + 1) +
                                                   " has no finite position; nothing is written");
  return Status::Ok();
}

Status Emit(std::vector<std::unique_ptr<TrackSink>>& sinks, int level, double hours,
            std::span<const double> x, std::span<const float> y) {
  if (Status s = CheckFinite(level, x, y); !s.ok()) return s;
  for (auto& sink : sinks)
    if (Status s = sink->WriteLevel(level, hours, x, y); !s.ok()) return s;
  return Status::Ok();
}

// The picture of --image and the film of --film: the run drawn as the
// desktop draws it, each redraw a frame of the film.
class RunPictures {
 public:
  explicit RunPictures(const RunOptions& o) : image_(o.imageSize), imagePath_(o.image) {
    if (!o.film.empty()) film_ = std::make_unique<GifFilm>(o.film, o.imageSize, o.imageSize, o.fps);
  }
  // Starts the film, when asked for.
  Status Open() { return film_ ? film_->Open() : Status::Ok(); }
  Surface& GetSurface() { return image_.GetSurface(); }
  // The picture as drawn so far becomes the film's next frame.
  Status Frame() { return Frame(image_.Image()); }
  // `picture` becomes the film's next frame.
  Status Frame(const QImage& picture) { return film_ ? film_->AddFrame(picture) : Status::Ok(); }
  // The picture as drawn so far.
  QImage Image() const { return image_.Image(); }
  // Completes the film and writes the image, each when asked for.
  Status Finish() {
    if (film_)
      if (Status s = film_->Finish(); !s.ok()) return s;
    return imagePath_.empty() ? Status::Ok() : image_.Save(imagePath_);
  }

 private:
  RunImage image_;
  std::string imagePath_;
  std::unique_ptr<GifFilm> film_;
};

// The desktop's run drawn, for --as-desktop with --image or --film: the
// tracks come from its tables, level by level.
Status RunDrawn(const RunOptions& o, ModelState& state, uint64_t seed,
                std::vector<std::unique_ptr<TrackSink>>& sinks, ProgressBar& progress, std::vector<double>& x,
                std::vector<float>& y) {
  RunPictures pictures(o);
  DrawnRun drawn(state, pictures.GetSurface(), seed);
  SimulationRun& run = drawn.run;
  if (Status s = pictures.Open(); !s.ok()) return s;
  if (Status s = run.Start(); !s.ok()) return s;
  if (Status s = pictures.Frame(); !s.ok()) return s;
  const int particles = run.ParticlesMoved();
  x.resize(static_cast<std::size_t>(particles));
  y.resize(static_cast<std::size_t>(particles));
  auto gather = [&](int level) {
    for (int p = 1; p <= particles; ++p) x[p - 1] = run.TrackX(p, level), y[p - 1] = run.TrackY(p, level);
    return Emit(sinks, level, RunClock(state).HoursOfLevel(level), x, y);
  };
  if (Status s = gather(1); !s.ok()) return s;
  while (run.HasNextStep()) {
    if (Status s = run.Step(); !s.ok()) return s;
    if (Status s = gather(run.StepsDone() + 1); !s.ok()) return s;
    if (Status s = pictures.Frame(); !s.ok()) return s;
    progress.Update(run.StepsDone());
  }
  run.End();
  return pictures.Finish();
}

Status RunHeadless(ModelState& state, uint64_t seed, std::vector<std::unique_ptr<TrackSink>>& sinks,
                   ProgressBar& progress, std::vector<double>& x, std::vector<float>& y) {
  HeadlessRun run(state, seed);
  if (Status s = run.Start(); !s.ok()) return s;
  if (Status s = Emit(sinks, 1, 0.0, run.X(), run.Y()); !s.ok()) return s;
  while (run.HasNextStep()) {
    if (Status s = run.Step(); !s.ok()) return s;
    if (Status s = Emit(sinks, run.Level(), run.HoursOfLevel(run.Level()), run.X(), run.Y()); !s.ok())
      return s;
    progress.Update(run.StepsDone());
  }
  x = run.X();
  y = run.Y();
  return Status::Ok();
}

// The picture and film of the parallel run, drawn level by level as the
// desktop draws its run, from the positions of each level as they come.
// A level is taken between two steps and drawn during the next step by one
// of its threads, while another stores the frame drawn the step before and
// the rest move the particles.
class ParallelPictures {
 public:
  ParallelPictures(const RunOptions& o, ModelState& state)
      : pictures_(o), painter_(pictures_.GetSurface()), levels_(state, painter_), film_(!o.film.empty()) {}
  Status Open() { return pictures_.Open(); }
  // Keeps the positions of `level` to be drawn next.
  Status Take(int level, std::span<const double> x, std::span<const float> y) {
    return levels_.Take(level, x, y);
  }
  // The two works of the next step (Draw, Store); between steps.
  std::span<const std::function<void()>> Works() {
    toStore_ = std::exchange(drawn_, QImage());
    return works_;
  }
  // Draws what is left, stores every frame, ends the film and the image.
  Status Finish() {
    for (const auto& work : Works()) work();
    Works()[1]();
    if (Status s = Failed(); !s.ok()) return s;
    levels_.End();
    return pictures_.Finish();
  }
  // The first failure of drawing or storing, else Ok.
  Status Failed() const { return !drawStatus_.ok() ? drawStatus_ : storeStatus_; }

 private:
  // Draws the level taken, once, and keeps its picture for the film.
  Status Draw() {
    if (!levels_.Pending()) return Status::Ok();
    if (Status s = levels_.Draw(); !s.ok()) return s;
    if (film_) drawn_ = pictures_.Image().copy();
    return Status::Ok();
  }
  Status Store() {
    return toStore_.isNull() ? Status::Ok() : pictures_.Frame(std::exchange(toStore_, QImage()));
  }
  // A work, until it first fails.
  void Attempt(Status& status, Status (ParallelPictures::*work)()) {
    if (status.ok()) status = (this->*work)();
  }

  RunPictures pictures_;
  RunPicture painter_;
  LevelPainter levels_;
  bool film_;
  QImage drawn_, toStore_;  // the film's frame drawn last, and the one before
  Status drawStatus_ = Status::Ok(), storeStatus_ = Status::Ok();
  const std::function<void()> works_[2] = {[this] { Attempt(drawStatus_, &ParallelPictures::Draw); },
                                           [this] { Attempt(storeStatus_, &ParallelPictures::Store); }};
};

// The run split over threads: each particle draws from its own random
// stream, so the tracks do not depend on the thread count (but are not the
// desktop's).
Status RunParallel(const RunOptions& o, ModelState& state, uint64_t seed,
                   std::vector<std::unique_ptr<TrackSink>>& sinks, ProgressBar& progress,
                   std::vector<double>& x, std::vector<float>& y) {
  ParallelRun run(state, seed, o.threads);
  const auto drawn = WantsPictures(o) ? std::make_unique<ParallelPictures>(o, state) : nullptr;
  if (drawn)
    if (Status s = drawn->Open(); !s.ok()) return s;
  Status written = Status::Ok();
  run.SetLevelCallback([&](int level, std::span<const double> levelX, std::span<const float> levelY) {
    if (written.ok()) written = Emit(sinks, level, RunClock(state).HoursOfLevel(level), levelX, levelY);
    if (written.ok() && drawn) written = drawn->Take(level, levelX, levelY);
  });
  if (Status s = run.Start(); !s.ok()) return s;
  while (run.HasNextStep() && written.ok() && (!drawn || drawn->Failed().ok())) {
    if (Status s = run.Step(drawn ? drawn->Works() : std::span<const std::function<void()>>()); !s.ok())
      return s;
    progress.Update(run.StepsDone());
  }
  run.End();
  if (!written.ok()) return written;
  if (drawn)
    if (Status s = drawn->Finish(); !s.ok()) return s;
  x.assign(run.X().begin(), run.X().end());
  y.assign(run.Y().begin(), run.Y().end());
  return Status::Ok();
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
  RunOptions o;
  RunInputs inputs;
  if (Status s = ParseRunOptions({args.begin() + 1, args.end()}, o); !s.ok()) return Fail(err, s);
  if (o.help) return out << RunHelp(), kExitOk;
  ModelState state;
  if (Status s = PrepareRun(o, state, inputs); !s.ok()) return Fail(err, s);
  const int levels = RunClock(state).StepCount() + 1;
  if (Status s = CheckParticleCount(o, levels); !s.ok()) return Fail(err, s);
  const uint64_t seed = o.seed ? *o.seed : ClockSeed();
  out << "seed " << seed << '\n' << std::flush;

  std::vector<std::unique_ptr<TrackSink>> sinks;
  if (Status s = OpenSinks(o, state, seed, levels, inputs, sinks); !s.ok()) return Fail(err, s);
  std::vector<double> x;
  std::vector<float> y;
  {
    ProgressBar progress(err, errIsTerminal, levels - 1);
    const Status s = !o.asDesktop       ? RunParallel(o, state, seed, sinks, progress, x, y)
                     : WantsPictures(o) ? RunDrawn(o, state, seed, sinks, progress, x, y)
                                        : RunHeadless(state, seed, sinks, progress, x, y);
    if (!s.ok()) return Fail(err, s);
  }
  for (auto& sink : sinks)
    if (Status s = sink->Finish(); !s.ok()) return Fail(err, s);
  if (!o.density.empty()) {
    DensityGrid grid(state, o.cellKm);
    grid.Add(x, y);
    if (grid.Outside() > 0)
      err << "lakedrift-batch: " << grid.Outside()
          << " particles lie on or beyond the edge of the map extent and are not counted\n";
    if (Status s = grid.WriteCsv(o.density); !s.ok()) return Fail(err, s);
    if (!o.densityImage.empty())
      if (Status s = WriteDensityImage(grid, state, o.imageSize, o.densityImage); !s.ok())
        return Fail(err, s);
  }
  return kExitOk;
}

}  // namespace

Status PrepareScenario(const ScenarioOptions& o, ModelState& state, bool readFiles) {
  ChooseRegion(state, o.region != 0 ? o.region : 1);
  state.Season = static_cast<int16_t>(o.season);
  state.FlowType = static_cast<int16_t>(o.flowType != 0 ? o.flowType : 1);
  if (readFiles) {
    if (Status s = LoadGeometry(state, ScenarioGeometry(o, state)); !s.ok()) return s;
    state.FlowFileName =
        o.flowFile.empty() ? FlowFileNameFor(state.Region, state.Season, state.FlowType) : o.flowFile;
  }
  ApplyRunParameters(DefaultRunParameters(), state);
  state.VectorScale = o.vectorScale;
  state.Magnification = 1.0f;
  return Status::Ok();
}

int RunBatch(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
             bool errIsTerminal) {
  if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
    (args.empty() ? err : out) << kUsage;
    return args.empty() ? kExitBadInput : kExitOk;
  }
  if (args[0] == "info") return Info(args, out, err);
  if (args[0] == "probe") return Probe(args, in, out, err);
  if (args[0] == "run") return Run(args, out, err, errIsTerminal);
  if (args[0] == "import") return ImportCommand(args, out, err);
  if (args[0] == "animate") return Animate(args, out, err);
  err << "lakedrift-batch: " << args[0] << ": unknown command (info, probe, run, import, animate, help)\n";
  return kExitBadInput;
}

}  // namespace lakedrift
