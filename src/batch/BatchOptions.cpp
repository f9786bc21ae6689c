#include "batch/BatchOptions.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <functional>
#include <thread>

#include "model/ModelState.h"
#include "model/NumberFormat.h"

namespace lakedrift {
namespace {

constexpr int kMinImageSize = 16;
constexpr int kMaxImageSize = 16384;
constexpr int kMaxThreads = 256;
constexpr int kMaxFps = 100;
constexpr int kMaxFlowFrames = 83;  // as the parameter dialog allows
constexpr int kHelpColumn = 24;     // where the options' descriptions start

bool ReadDouble(const std::string& text, double& value) {
  const std::optional<double> number = ParseNumberItem(text);
  if (number) value = *number;
  return number.has_value();
}

// A whole number: one number item, written without point or exponent, that
// fits T exactly (a seed may need all 64 bits, more than a double holds).
template <typename T>
bool ReadWhole(const std::string& text, T& value) {
  if (!ParseNumberItem(text)) return false;
  const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
  const auto result = std::from_chars(begin, text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// One of the digits 1..highest.
bool ReadChoice(const std::string& text, int highest, int& value) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '0' + highest) return false;
  value = text[0] - '0';
  return true;
}

// An option whose one value our own strict reader takes; a value it
// refuses fails naming the option, what it expects and what it got.
CLI::Option* Value(CLI::App& app, const std::string& name, const std::string& type,
                   const std::string& expected, std::function<bool(const std::string&)> read,
                   const std::string& help) {
  return app
      .add_option_function<std::string>(
          name,
          [name, expected, read](const std::string& v) {
            if (!read(v)) throw CLI::ValidationError(name, "expected " + expected + ", got '" + v + "'");
          },
          help)
      ->type_name(type);
}

// A command's option set: its description and footer in the help; the
// options not its own are named by ParseWith itself.
std::unique_ptr<CLI::App> NewApp(const std::string& command, const std::string& description,
                                 const std::string& footer) {
  auto app = std::make_unique<CLI::App>(description, "lakedrift-batch " + command);
  app->footer(footer);
  app->get_formatter()->column_width(kHelpColumn);
  app->allow_extras();
  return app;
}

// The scenario's options, bound to `o`.
struct ScenarioFlags {
  CLI::Option *region, *season, *flowType, *geometry, *flowFile;
};

// --region, --season, --flow-type, --geometry and --flow-file: --region
// and --flow-type go together, as do --geometry and --flow-file, and the
// two pairs exclude each other.
ScenarioFlags AddScenarioOptions(CLI::App& app, ScenarioOptions& o) {
  ScenarioFlags f{};
  f.region = Value(
      app, "--region", "1|2|3", "1, 2 or 3", [&](auto& v) { return ReadChoice(v, 3, o.region); },
      "whole lake, Malagarasi region, Lufubu region");
  f.season = Value(
      app, "--season", "1|2", "1 or 2", [&](auto& v) { return ReadChoice(v, 2, o.season); },
      "wet-season week (2 April 1997), dry-season week (22 August 1997)");
  f.flowType = Value(
      app, "--flow-type", "1|2", "1 or 2", [&](auto& v) { return ReadChoice(v, 2, o.flowType); },
      "surface flow, depth-averaged flow");
  f.geometry = app.add_option("--geometry", o.geometry, "a geometry file, with --flow-file FILE and --season")
                   ->type_name("FILE");
  f.flowFile =
      app.add_option("--flow-file", o.flowFile, "the flow-field file of --geometry")->type_name("FILE");
  f.geometry->needs(f.flowFile);
  f.flowFile->needs(f.geometry);
  f.region->needs(f.flowType);
  f.flowType->needs(f.region);
  for (CLI::Option* byRegion : {f.region, f.flowType})
    for (CLI::Option* byFiles : {f.geometry, f.flowFile}) byRegion->excludes(byFiles);
  return f;
}

// What is read from a UGRID file: --u, --v, --layer, --depth-average and
// --start, bound to `o`.
std::vector<CLI::Option*> AddUgridOptions(CLI::App& app, UgridOptions& o) {
  return {app.add_option("--u", o.uName,
                         "the eastward or x velocity variable (default: found by its standard_name)")
              ->type_name("NAME"),
          app.add_option("--v", o.vName,
                         "the northward or y velocity variable (default: found by its standard_name)")
              ->type_name("NAME"),
          Value(
              app, "--layer", "K", "a layer number from 1",
              [&](auto& v) { return ReadWhole(v, o.layer) && o.layer >= 1; },
              "the layer of a layered velocity, 1 ... layer count"),
          app.add_flag(
              "--depth-average", o.depthAverage,
              "a layered velocity averaged over the layers' thicknesses (layer bounds or sigma interfaces)"),
          Value(
              app, "--start", "DATE", "a date YYYY-MM-DD or YYYY-MM-DDTHH:MM[:SS]",
              [&](auto& v) { return (o.start = ParseIsoDate(v)).has_value(); },
              "the time of frame 0, YYYY-MM-DD[THH:MM[:SS]] (default: the file's first time)")};
}

// --size, --vector-scale and --fps of the pictures and films.
void AddPictureOptions(CLI::App& app, ScenarioOptions& o) {
  Value(
      app, "--size", "PIXELS", "an image size from 16 to 16384 pixels",
      [&](auto& v) {
        return ReadWhole(v, o.imageSize) && o.imageSize >= kMinImageSize && o.imageSize <= kMaxImageSize;
      },
      "width and height of the pictures and frames (default 800)");
  Value(
      app, "--vector-scale", "S", "a vector scaling factor greater than 0 and at most 1",
      [&](auto& v) { return ReadDouble(v, o.vectorScale) && o.vectorScale > 0 && o.vectorScale <= 1; },
      "the fastest arrow's length over the map's size, 0 < S <= 1 (default " +
          FormatGeneral(DefaultRunParameters().VectorScale) + ")");
  Value(
      app, "--fps", "N", "a frame rate from 1 to 100",
      [&](auto& v) { return ReadWhole(v, o.fps) && o.fps >= 1 && o.fps <= kMaxFps; },
      "the film's frames per second (default 8)");
}

// The options of "run", bound to `o`; the cross-checks are the options'
// own excludes and needs.
std::unique_ptr<CLI::App> RunApp(RunOptions& o) {
  const RunParameters defaults = DefaultRunParameters();
  auto app = NewApp(
      "run",
      "Tracks particles released at (X, Y) km for one week of the chosen scenario, as the desktop\n"
      "program does. With --as-desktop and a given seed the tracks are exactly the desktop's; otherwise\n"
      "the run is split over threads and its tracks, the same for any thread count, are not.",
      "Files are written whole or not at all. Exit status 2 on a bad option or file.");

  const ScenarioFlags scenario = AddScenarioOptions(*app, o);
  auto* ugrid =
      app->add_option("--ugrid", o.ugrid,
                      "a UGRID file read as lakedrift-batch import reads it, with the options below "
                      "that choose what is read; no files are written for it")
          ->type_name("MODEL.nc");
  for (CLI::Option* chooser : AddUgridOptions(*app, o.ugridOptions)) chooser->needs(ugrid);
  auto* release = app->add_option_function<std::vector<std::string>>(
                         "--release",
                         [&o](const std::vector<std::string>& xy) {
                           if (!ReadDouble(xy[0], o.releaseX))
                             throw CLI::ValidationError("--release", "expected X in km, got '" + xy[0] + "'");
                           if (!ReadDouble(xy[1], o.releaseY))
                             throw CLI::ValidationError("--release", "expected Y in km, got '" + xy[1] + "'");
                           o.hasRelease = true;
                         },
                         "release point X Y in km; must lie on the water")
                      ->expected(2)
                      ->type_name("KM");
  app->add_option_function<std::vector<std::string>>(
         "--release-lonlat",
         [&o](const std::vector<std::string>& lonLat) {
           if (!ReadDouble(lonLat[0], o.releaseLon) || std::abs(o.releaseLon) > 360)
             throw CLI::ValidationError("--release-lonlat",
                                        "expected a longitude in degrees, got '" + lonLat[0] + "'");
           if (!ReadDouble(lonLat[1], o.releaseLat) || std::abs(o.releaseLat) > 90)
             throw CLI::ValidationError(
                 "--release-lonlat", "expected a latitude from -90 to 90 degrees, got '" + lonLat[1] + "'");
           o.hasReleaseLonLat = true;
         },
         "release point in degrees (WGS84), for a geometry file with a georef line")
      ->expected(2)
      ->type_name("DEG")
      ->excludes(release);
  Value(
      *app, "--particles", "N", "a positive whole number",
      [&](auto& v) { return ReadWhole(v, o.particles) && o.particles > 0; },
      "number of particles (default " + FormatGeneral(defaults.ParticleCount) +
          "); refused when the run would not fit in the memory available");
  Value(
      *app, "--diffusion", "K", "a diffusion coefficient from 0 to 10 m²/s",
      [&](auto& v) {
        return ReadDouble(v, o.diffusion) && o.diffusion >= kMinDiffusionCoef &&
               o.diffusion <= kMaxDiffusionCoef;
      },
      "horizontal diffusion coefficient, 0 to 10 m²/s as in the desktop's parameter dialog (default " +
          FormatGeneral(defaults.DiffusionCoef) + ")");
  Value(
      *app, "--seed", "S", "a whole number ≥ 0",
      [&](auto& v) {
        uint64_t seed = 0;
        if (!ReadWhole(v, seed)) return false;
        o.seed = seed;
        return true;
      },
      "random seed (default: from the clock; printed)");
  auto* threads = Value(
      *app, "--threads", "T", "a thread count from 1 to 256",
      [&](auto& v) { return ReadWhole(v, o.threads) && o.threads >= 1 && o.threads <= kMaxThreads; },
      "threads for the particle steps (default: the machine's cores); each particle draws from its "
      "own random stream, so the tracks do not depend on T");
  app->add_flag(
         "--as-desktop", o.asDesktop,
         "the desktop's own run on one thread: with the same seed, the tracks are the ones the desktop draws")
      ->excludes(threads);
  app->add_option(
         "--tracks", o.tracks,
         "tracks as CSV: particle,level,time,x_m,y_m and, when the geometry has a georef line, lon,lat")
      ->type_name("FILE.csv");
  app->add_option(
         "--netcdf", o.netcdf,
         "tracks as CF-1.8 trajectories (NetCDF-4), with lon and lat when the geometry has a georef line")
      ->type_name("FILE.nc");
  app->add_option("--geojson", o.geojson,
                  "one LineString per particle in longitude and latitude (RFC 7946); needs a georef line")
      ->type_name("FILE");
  app->add_option("--image", o.image,
                  "the final picture of the run in the full view, as the desktop draws it")
      ->type_name("FILE.bmp|.png");
  AddPictureOptions(*app, o);
  auto* density =
      app->add_option("--density", o.density, "particle counts on a square grid at the end, with --cell")
          ->type_name("FILE.csv");
  auto* cell = Value(
      *app, "--cell", "KM", "a cell size > 0 in km",
      [&](auto& v) { return ReadDouble(v, o.cellKm) && o.cellKm > 0; }, "the density grid's cells, KM wide");
  app->add_option("--film", o.film,
                  "the run as the desktop draws it, a frame at the release and after each step, as a looping "
                  "GIF; its last frame is the picture of --image")
      ->type_name("FILE.gif");
  app->add_option("--density-image", o.densityImage,
                  "the density grid as a picture: the map with each cell coloured by its count, and a legend")
      ->type_name("FILE.png|.bmp")
      ->needs(density);
  density->needs(cell);
  cell->needs(density);
  for (CLI::Option* other : {scenario.region, scenario.flowType, scenario.geometry, scenario.flowFile})
    ugrid->excludes(other);
  return app;
}

// The options of "animate", bound to `o`.
std::unique_ptr<CLI::App> AnimateApp(AnimateOptions& o) {
  auto app =
      NewApp("animate",
             "Writes the flow animation of a scenario's current field (map, vectors, time label), one frame\n"
             "per flow frame, as a looping GIF.",
             "The film is written whole or not at all. Exit status 2 on a bad option or file.");
  AddScenarioOptions(*app, o).season->required();
  app->add_option("--film", o.film, "the animation as a looping GIF")->type_name("FILE.gif")->required();
  Value(
      *app, "--frames", "N", "a frame count from 1 to 83",
      [&](auto& v) { return ReadWhole(v, o.frames) && o.frames >= 1 && o.frames <= kMaxFlowFrames; },
      "flow frames to show, 1 to 83 as in the parameter dialog (default 83)");
  AddPictureOptions(*app, o);
  return app;
}

// Whether an argument is written as an option: "-" then a letter or "-";
// "-5" and "-.5" are (negative) values.
bool LooksLikeOption(const std::string& a) {
  return a.size() > 1 && a[0] == '-' && (std::isalpha(static_cast<unsigned char>(a[1])) || a[1] == '-');
}

// The first argument that looks like an option and is none of ours.
std::optional<std::string> UnknownOption(const CLI::App& app, const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (LooksLikeOption(a) && a != "-h" && app.get_option_no_throw(a.substr(0, a.find('='))) == nullptr)
      return a;
  return std::nullopt;
}

// Parses a command's arguments with its option set: one line naming an
// unknown option, a bad value or a stray value; `help` when asked for.
Status ParseWith(CLI::App& app, const std::string& command, const std::vector<std::string>& args,
                 bool& help) {
  if (const auto unknown = UnknownOption(app, args))
    return Status::Fail(ErrorKind::BadValue,
                        *unknown + ": unknown option (see lakedrift-batch " + command + " --help)");
  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    help = true;
    return Status::Ok();
  } catch (const CLI::ParseError& e) {
    return Status::Fail(ErrorKind::BadValue, e.what());
  }
  if (!app.remaining().empty())
    return Status::Fail(ErrorKind::BadValue, app.remaining().front() + ": a value without an option");
  return Status::Ok();
}

}  // namespace

Status ParseRunOptions(const std::vector<std::string>& args, RunOptions& o) {
  if (Status s = ParseWith(*RunApp(o), "run", args, o.help); !s.ok() || o.help) return s;
  if (o.region == 0 && o.geometry.empty() && o.ugrid.empty())
    return Status::Fail(
        ErrorKind::BadValue,
        "give --region, --season and --flow-type, --geometry, --flow-file and --season, or --ugrid");
  if (o.season == 0 && o.ugrid.empty())
    return Status::Fail(ErrorKind::BadValue, "--season is required (1 wet, 2 dry)");
  if (o.season == 0) o.season = 1;  // the season only picks the file names of an import
  if (!o.hasRelease && !o.hasReleaseLonLat)
    return Status::Fail(ErrorKind::BadValue, "--release X Y is required (km), or --release-lonlat LON LAT");
  if (o.threads == 0)
    o.threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, unsigned{kMaxThreads}));
  return Status::Ok();
}

std::string RunHelp() {
  RunOptions unused;
  return RunApp(unused)->help();
}

Status ParseAnimateOptions(const std::vector<std::string>& args, AnimateOptions& o) {
  if (Status s = ParseWith(*AnimateApp(o), "animate", args, o.help); !s.ok() || o.help) return s;
  if (o.region == 0 && o.geometry.empty())
    return Status::Fail(ErrorKind::BadValue,
                        "give --region, --season and --flow-type, or --geometry, --flow-file and --season");
  return Status::Ok();
}

std::string AnimateHelp() {
  AnimateOptions unused;
  return AnimateApp(unused)->help();
}

namespace {

// The options of "import", bound to `o`.
std::unique_ptr<CLI::App> ImportApp(ImportOptions& o) {
  auto app = NewApp(
      "import",
      "Reads a 2-D UGRID mesh (CF + UGRID 1.0) with its velocities and writes into DIR a geometry file and\n"
      "a week of flow frames that both programs read, with the georef line when the file gives\n"
      "longitude/latitude or names its CRS. The 84 frames, 2 hours apart, are interpolated linearly in time.",
      "Both files are written whole or not at all. Exit status 2 on a bad option or a file that cannot "
      "be read as asked.");
  app->add_option("MODEL.nc", o.model, "the UGRID file")->required();
  app->add_option("--out", o.out, "the folder to write to (it must exist)")->type_name("DIR")->required();
  Value(
      *app, "--region", "1|2|3", "1, 2 or 3", [&](auto& v) { return ReadChoice(v, 3, o.region); },
      "which region's file names to use (default 1: geomtan.inp)");
  Value(
      *app, "--season", "1|2", "1 or 2", [&](auto& v) { return ReadChoice(v, 2, o.season); },
      "the scenario code of the flow file name (default 1)");
  Value(
      *app, "--flow-type", "1|2", "1 or 2", [&](auto& v) { return ReadChoice(v, 2, o.flowType); },
      "the flow code of the flow file name (default 1: surface, tanws.fld)");
  AddUgridOptions(*app, o.ugrid);
  return app;
}

}  // namespace

Status ParseImportOptions(const std::vector<std::string>& args, ImportOptions& o) {
  return ParseWith(*ImportApp(o), "import", args, o.help);
}

std::string ImportHelp() {
  ImportOptions unused;
  return ImportApp(unused)->help();
}

}  // namespace lakedrift
