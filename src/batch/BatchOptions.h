#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/RunParameters.h"
#include "model/Status.h"
#include "ugrid/UgridModel.h"

namespace lakedrift {

// The options "run" and "animate" share: the scenario, by region or by
// files, and the size, arrows and frame rate of the pictures.
struct ScenarioOptions {
  int region = 0, season = 0, flowType = 0;
  std::string geometry, flowFile;
  int imageSize = 800;
  double vectorScale = DefaultRunParameters().VectorScale;
  int fps = 8;  // a film's frames per second
};

// The options of "lakedrift-batch run".
struct RunOptions : ScenarioOptions {
  std::string ugrid;          // a UGRID file in place of the geometry and flow files
  UgridOptions ugridOptions;  // what is read from it
  bool hasRelease = false;
  double releaseX = 0, releaseY = 0;  // km
  bool hasReleaseLonLat = false;
  double releaseLon = 0, releaseLat = 0;  // degrees, through the geometry's georef line
  long particles = static_cast<long>(DefaultRunParameters().ParticleCount);
  double diffusion = DefaultRunParameters().DiffusionCoef;  // m²/s
  std::optional<uint64_t> seed;
  int threads = 0;         // 0 until given: then the machine's cores
  bool asDesktop = false;  // the desktop's serial run, one thread
  std::string tracks, netcdf, image, density, geojson;
  double cellKm = 0;
  std::string film;          // the run drawn frame by frame as a GIF
  std::string densityImage;  // the density grid as a picture
  bool help = false;
};

// Reads the run options; a bad option or value fails with one line naming it.
Status ParseRunOptions(const std::vector<std::string>& args, RunOptions& options);

// The text of "lakedrift-batch run --help".
std::string RunHelp();

// The options of "lakedrift-batch animate".
struct AnimateOptions : ScenarioOptions {
  std::string film;
  int frames = DefaultRunParameters().FrameCount;
  bool help = false;
};

// Reads the animate options; a bad option or value fails with one line naming it.
Status ParseAnimateOptions(const std::vector<std::string>& args, AnimateOptions& options);

// The text of "lakedrift-batch animate --help".
std::string AnimateHelp();

// The options of "lakedrift-batch import".
struct ImportOptions {
  std::string model;  // the UGRID file
  std::string out;    // the folder written to
  int region = 1, season = 1, flowType = 1;
  UgridOptions ugrid;
  bool help = false;
};

// Reads the import options; a bad option or value fails with one line naming it.
Status ParseImportOptions(const std::vector<std::string>& args, ImportOptions& options);

// The text of "lakedrift-batch import --help".
std::string ImportHelp();

}  // namespace lakedrift
