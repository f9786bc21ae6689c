// The generator as the build runs it: run again it writes the build's data
// to the byte (the data every other test reads through the program's
// readers).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/TestPaths.h"

namespace lakedrift {
namespace {

namespace fs = std::filesystem;
using test::SampleDataPath;

std::vector<unsigned char> Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the generator on a shoreline file, its report in the folder's report.txt.
int RunGenerator(const fs::path& shore, const fs::path& folder) {
  const std::string command = std::string("\"") + LAKEDRIFT_DATAGEN_EXE + "\" \"" + shore.string() + "\" \"" +
                              folder.string() + "\" > \"" + (folder / "report.txt").string() + "\" 2>&1";
  return std::system(command.c_str());
}

// A missing shoreline: a failure with a report, and no data written.
TEST(GeneratorRunTest, WritesTheBuildsDataToTheByteAndNothingWithoutAShoreline) {
  const fs::path folder = test::FreshOutputDir("datagen_run");
  const fs::path failed = test::FreshOutputDir("datagen_missing");
  EXPECT_NE(RunGenerator(failed / "no-such-shore.txt", failed), 0);
  EXPECT_TRUE(!fs::exists(failed / "geomtan.inp") && fs::file_size(failed / "report.txt") > 0);
  ASSERT_EQ(RunGenerator(LAKEDRIFT_SHORELINE_FILE, folder), 0);
  // Every file the program reads is written.
  std::vector<std::string> names = {"bougarab.wav", "startup.bmp"};
  for (const std::string r : {"tan", "mal", "zam"})
    names.insert(names.end(), {"geom" + r + ".inp", r + "ws.fld", r + "wa.fld", r + "ds.fld", r + "da.fld"});
  for (const std::string& name : names) EXPECT_TRUE(fs::exists(folder / name)) << name;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name == "report.txt") continue;  // holds timings
    const auto bytes = Bytes(entry.path());
    EXPECT_TRUE(!bytes.empty() && bytes == Bytes(SampleDataPath(name))) << name << ": not the build's";
  }
}

}  // namespace
}  // namespace lakedrift
