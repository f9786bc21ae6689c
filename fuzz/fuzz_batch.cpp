// Feeds arbitrary command lines to lakedrift-batch: the input is split into
// arguments at blanks and line breaks. Every command must end with status 0
// or 2, and a refusal must say why. To keep each try short and harmless,
// particle counts, image sizes and thread counts are capped, runs are
// seeded, and every file named is taken by its last component only: inputs
// from a scratch folder holding the test lake under every name the
// commands use, outputs into another.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "batch/BatchCommands.h"

namespace {

namespace fs = std::filesystem;

constexpr long kMostParticles = 64;
constexpr long kMostImageSize = 64;
constexpr long kMostThreads = 2;

struct Scratch {
  fs::path root, in, out;
};

// Removes a folder when the fuzzer ends.
struct RemovedAtExit {
  fs::path folder;
  ~RemovedAtExit() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
};

// The scratch folders, made once: the test lake as the committed test data
// and as every region's geometry and flow files.
const Scratch& ScratchFolders() {
  static const Scratch scratch = [] {
    const fs::path root = fs::temp_directory_path() / ("lakedrift-fuzz-batch-" + std::to_string(::getpid()));
    Scratch s{root, root / "in", root / "out"};
    fs::create_directories(s.in);
    fs::create_directories(s.out);
    const fs::path data = LAKEDRIFT_FUZZ_DATA_DIR;
    fs::copy_file(data / "testlake.inp", s.in / "testlake.inp", fs::copy_options::overwrite_existing);
    fs::copy_file(data / "testlake.fld", s.in / "testlake.fld", fs::copy_options::overwrite_existing);
    for (const char* region : {"tan", "mal", "zam"}) {
      fs::copy_file(data / "testlake.inp", s.in / (std::string("geom") + region + ".inp"),
                    fs::copy_options::overwrite_existing);
      for (const char* kind : {"ws", "wa", "ds", "da"})
        fs::copy_file(data / "testlake.fld", s.in / (std::string(region) + kind + ".fld"),
                      fs::copy_options::overwrite_existing);
    }
    return s;
  }();
  static const RemovedAtExit cleanup{scratch.root};
  return scratch;
}

// The last component of a name, never a way out of the folder.
std::string Inside(const fs::path& folder, const std::string& name) {
  std::string last = fs::path(name).filename().string();
  if (last.empty() || last == "." || last == "..") last = "file";
  return (folder / last).string();
}

// A number option's value, lowered to `most` when it reads as a larger
// whole number; anything else is left for the tool to judge.
std::string Capped(const std::string& value, long most) {
  long number = 0;
  std::istringstream in(value);
  if (in >> number && in.eof() && number > most) return std::to_string(most);
  return value;
}

std::vector<std::string> Arguments(const std::string& text, const Scratch& scratch) {
  std::vector<std::string> args;
  std::istringstream words(text);
  for (std::string word; words >> word;) args.push_back(word);
  if (!args.empty() && args[0] == "lakedrift-batch") args.erase(args.begin());
  const std::map<std::string, std::string> inputs = {{"--geometry", ""}, {"--flow-file", ""}};
  const std::map<std::string, long> caps = {
      {"--particles", kMostParticles}, {"--size", kMostImageSize}, {"--threads", kMostThreads}};
  bool seeded = false;
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    const std::string& option = args[i];
    std::string& value = args[i + 1];
    seeded = seeded || option == "--seed";
    if (inputs.count(option) || (i == 0 && (option == "info" || option == "probe")))
      value = Inside(scratch.in, value);
    else if (option == "--tracks" || option == "--netcdf" || option == "--image" || option == "--density")
      value = Inside(scratch.out, value);
    else if (caps.count(option))
      value = Capped(value, caps.at(option));
  }
  if (!args.empty() && args[0] == "run" && !seeded) {
    args.push_back("--seed");
    args.push_back("1");
  }
  return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Scratch& scratch = ScratchFolders();
  const std::vector<std::string> args =
      Arguments(std::string(reinterpret_cast<const char*>(data), size), scratch);
  std::istringstream in("3 1\n5 5\n");
  std::ostringstream out, err;
  // Region commands open their files by bare name, as in the data folder;
  // the fuzzer's own paths may be relative to where it was started.
  const fs::path started = fs::current_path();
  fs::current_path(scratch.in);
  const int status = lakedrift::RunBatch(args, in, out, err, false);
  fs::current_path(started);
  if (status != lakedrift::kExitOk && status != lakedrift::kExitBadInput) __builtin_trap();
  if (status == lakedrift::kExitBadInput && err.str().empty()) __builtin_trap();  // a refusal says why
  return 0;
}
