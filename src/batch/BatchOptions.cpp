#include "batch/BatchOptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <thread>

#include "model/ModelState.h"
#include "model/NumberFormat.h"

namespace lakedrift {
namespace {

constexpr int kMinImageSize = 16;
constexpr int kMaxImageSize = 16384;
constexpr int kMaxThreads = 256;

Status Bad(const std::string& option, const std::string& expected, const std::string& got) {
  return Status::Fail(ErrorKind::BadValue, option + ": expected " + expected + ", got '" + got + "'");
}

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

Status Choice(const std::string& option, const std::string& text, int& value) {
  if (text == "1" || text == "2" || (option == "--region" && text == "3")) {
    value = text[0] - '0';
    return Status::Ok();
  }
  return Bad(option, option == "--region" ? "1, 2 or 3" : "1 or 2", text);
}

}  // namespace

Status ParseRunOptions(const std::vector<std::string>& args, RunOptions& o) {
  using Reader = std::function<Status(const std::string& option, const std::string& value)>;
  const std::map<std::string, Reader> readers = {
      {"--region", [&](auto& n, auto& v) { return Choice(n, v, o.region); }},
      {"--season", [&](auto& n, auto& v) { return Choice(n, v, o.season); }},
      {"--flow-type", [&](auto& n, auto& v) { return Choice(n, v, o.flowType); }},
      {"--geometry", [&](auto&, auto& v) { o.geometry = v; return Status::Ok(); }},
      {"--flow-file", [&](auto&, auto& v) { o.flowFile = v; return Status::Ok(); }},
      {"--particles",
       [&](auto& n, auto& v) {
         return ReadWhole(v, o.particles) && o.particles > 0 ? Status::Ok() : Bad(n, "a positive whole number", v);
       }},
      {"--diffusion",
       [&](auto& n, auto& v) {
         if (ReadDouble(v, o.diffusion) && o.diffusion >= kMinDiffusionCoef && o.diffusion <= kMaxDiffusionCoef)
           return Status::Ok();
         return Bad(n, "a diffusion coefficient from 0 to 10 m²/s", v);
       }},
      {"--seed",
       [&](auto& n, auto& v) {
         uint64_t seed = 0;
         if (!ReadWhole(v, seed)) return Bad(n, "a whole number ≥ 0", v);
         o.seed = seed;
         return Status::Ok();
       }},
      {"--threads",
       [&](auto& n, auto& v) {
         return ReadWhole(v, o.threads) && o.threads >= 1 && o.threads <= kMaxThreads
                    ? Status::Ok()
                    : Bad(n, "a thread count from 1 to 256", v);
       }},
      {"--tracks", [&](auto&, auto& v) { o.tracks = v; return Status::Ok(); }},
      {"--netcdf", [&](auto&, auto& v) { o.netcdf = v; return Status::Ok(); }},
      {"--image", [&](auto&, auto& v) { o.image = v; return Status::Ok(); }},
      {"--density", [&](auto&, auto& v) { o.density = v; return Status::Ok(); }},
      {"--size",
       [&](auto& n, auto& v) {
         return ReadWhole(v, o.imageSize) && o.imageSize >= kMinImageSize && o.imageSize <= kMaxImageSize
                    ? Status::Ok()
                    : Bad(n, "an image size from 16 to 16384 pixels", v);
       }},
      {"--vector-scale",
       [&](auto& n, auto& v) {
         return ReadDouble(v, o.vectorScale) && o.vectorScale > 0 && o.vectorScale <= 1
                    ? Status::Ok()
                    : Bad(n, "a vector scaling factor greater than 0 and at most 1", v);
       }},
      {"--cell",
       [&](auto& n, auto& v) {
         return ReadDouble(v, o.cellKm) && o.cellKm > 0 ? Status::Ok() : Bad(n, "a cell size > 0 in km", v);
       }},
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--help" || option == "-h") {
      o.help = true;
      return Status::Ok();
    }
    if (option == "--as-desktop") {
      o.asDesktop = true;
      continue;
    }
    if (option == "--release") {
      if (i + 2 >= args.size()) return Status::Fail(ErrorKind::BadValue, option + ": expected two numbers X Y in km");
      const std::string& x = args[i + 1];
      const std::string& y = args[i + 2];
      if (!ReadDouble(x, o.releaseX)) return Bad(option, "X in km", x);
      if (!ReadDouble(y, o.releaseY)) return Bad(option, "Y in km", y);
      o.hasRelease = true;
      i += 2;
      continue;
    }
    const auto reader = readers.find(option);
    if (reader == readers.end())
      return Status::Fail(ErrorKind::BadValue, option + ": unknown option (see lakedrift-batch run --help)");
    if (i + 1 >= args.size()) return Status::Fail(ErrorKind::BadValue, option + ": a value is missing");
    if (Status s = reader->second(option, args[++i]); !s.ok()) return s;
  }

  const bool byRegion = o.region != 0 || o.flowType != 0;
  const bool byFiles = !o.geometry.empty() || !o.flowFile.empty();
  if (byRegion && byFiles)
    return Status::Fail(ErrorKind::BadValue, "--region/--flow-type and --geometry/--flow-file exclude each other");
  if (byFiles && (o.geometry.empty() || o.flowFile.empty()))
    return Status::Fail(ErrorKind::BadValue, "--geometry and --flow-file go together");
  if (!byFiles && (o.region == 0 || o.flowType == 0))
    return Status::Fail(ErrorKind::BadValue, "give --region, --season and --flow-type, or --geometry, --flow-file and --season");
  if (o.season == 0) return Status::Fail(ErrorKind::BadValue, "--season is required (1 wet, 2 dry)");
  if (!o.hasRelease) return Status::Fail(ErrorKind::BadValue, "--release X Y is required (km)");
  if (!o.density.empty() && o.cellKm <= 0)
    return Status::Fail(ErrorKind::BadValue, "--density needs --cell KM");
  if (o.density.empty() && o.cellKm > 0)
    return Status::Fail(ErrorKind::BadValue, "--cell goes with --density FILE.csv");
  if (!o.image.empty() && o.threads > 1)
    return Status::Fail(ErrorKind::BadValue, "--image draws the run as the desktop does, on one thread: drop --threads");
  if (o.asDesktop && o.threads > 1)
    return Status::Fail(ErrorKind::BadValue, "--as-desktop runs on one thread, as the desktop does: drop --threads");
  if (o.threads == 0) o.threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, unsigned{kMaxThreads}));
  return Status::Ok();
}

std::string RunHelp() {
  std::string help = R"(usage: lakedrift-batch run (--region R --season S --flow-type F
                            | --geometry FILE --flow-file FILE --season S)
                           --release X Y [options]

Tracks particles released at (X, Y) km for one week of the chosen scenario,
as the desktop program does. With --as-desktop (or --image) and a given
seed the tracks are exactly the desktop's; otherwise the run is split over
threads and its tracks, the same for any thread count, are not.

  --region 1|2|3        whole lake, Malagarasi region, Lufubu region
  --season 1|2          wet-season week (2 April 1997), dry-season week (22 August 1997)
  --flow-type 1|2       surface flow, depth-averaged flow
  --geometry FILE       a geometry file, with --flow-file FILE and --season
  --release X Y         release point in km; must lie on the water
  --particles N         number of particles (default {particles}); refused when the
                        run would not fit in the memory available
  --diffusion K         horizontal diffusion coefficient, 0 to 10 m²/s as in
                        the desktop's parameter dialog (default {diffusion})
  --seed S              random seed (default: from the clock; printed)
  --threads T           threads for the particle steps (default: the machine's
                        cores); each particle draws from its own random
                        stream, so the tracks do not depend on T
  --as-desktop          the desktop's own run on one thread: with the same
                        seed, the tracks are the ones the desktop draws
  --tracks FILE.csv     tracks as CSV: particle,level,time,x_m,y_m
  --netcdf FILE.nc      tracks as CF-1.8 trajectories (NetCDF-4)
  --image FILE.bmp|.png the final picture of the run in the full view
  --size PIXELS         image width and height (default 800)
  --vector-scale S      the fastest arrow's length over the map's size,
                        0 < S <= 1 (default {scale})
  --density FILE.csv    particle counts on a square grid at the end,
  --cell KM             with cells KM wide
Files are written whole or not at all. Exit status 2 on a bad option or file.
)";
  const RunParameters defaults = DefaultRunParameters();
  for (const auto& [mark, value] : {std::pair{"{particles}", defaults.ParticleCount},
                                    std::pair{"{diffusion}", defaults.DiffusionCoef},
                                    std::pair{"{scale}", defaults.VectorScale}})
    help.replace(help.find(mark), std::string(mark).size(), FormatGeneral(value));
  return help;
}

}  // namespace lakedrift
