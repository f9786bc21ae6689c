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

TEST(GeneratorRunTest, WritesTheBuildsDataToTheByteAndEveryFileTheProgramReads) {
  std::vector<std::string> programFiles = {"bougarab.wav", "startup.bmp"};
  for (const std::string region : {"tan", "mal", "zam"})
    programFiles.insert(programFiles.end(), {"geom" + region + ".inp", region + "ws.fld", region + "wa.fld",
                                             region + "ds.fld", region + "da.fld"});
  const fs::path folder = test::FreshOutputDir("datagen_run");
  ASSERT_EQ(RunGenerator(LAKEDRIFT_SHORELINE_FILE, folder), 0);
  for (const std::string& name : programFiles) EXPECT_TRUE(fs::exists(folder / name)) << name;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name == "report.txt") continue;  // holds timings
    const auto bytes = Bytes(entry.path());
    EXPECT_FALSE(bytes.empty()) << name;
    EXPECT_TRUE(bytes == Bytes(SampleDataPath(name))) << name << " differs from the build's data";
  }
}

// A missing shoreline: a failure with a report, and no data written.
TEST(GeneratorRunTest, RefusesAMissingShorelineWithAMessageAndWritesNothing) {
  const fs::path folder = test::FreshOutputDir("datagen_missing");
  EXPECT_NE(RunGenerator(folder / "no-such-shore.txt", folder), 0);
  EXPECT_FALSE(fs::exists(folder / "geomtan.inp"));
  EXPECT_GT(fs::file_size(folder / "report.txt"), 0u);
}

}  // namespace
}  // namespace lakedrift
