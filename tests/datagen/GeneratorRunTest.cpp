// The generator as the build runs it: run again it writes the build's data
// to the byte (the data every other test reads through the program's
// readers), and the picture it makes for the start-up window is
// well-formed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
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

std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(const std::vector<unsigned char>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

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

TEST(GeneratorRunTest, RefusesAMissingShorelineWithAMessageAndWritesNothing) {
  const fs::path folder = test::FreshOutputDir("datagen_missing");
  EXPECT_NE(RunGenerator(folder / "no-such-shore.txt", folder), 0);
  EXPECT_FALSE(fs::exists(folder / "geomtan.inp"));
  EXPECT_GT(fs::file_size(folder / "report.txt"), 0u);
}

TEST(GeneratedMediaTest, StartupPictureIsA230By145BitmapWithTheLakeDownItsWestPart) {
  const auto b = Bytes(SampleDataPath("startup.bmp"));
  ASSERT_GT(b.size(), 54u);
  constexpr int width = 230, height = 145;  // bottom-up rows
  const std::uint32_t offset = U32(b, 10);
  const std::size_t rowBytes = (width * 3 + 3) / 4 * 4;
  EXPECT_EQ(std::string(b.begin(), b.begin() + 2), "BM");
  // Size, width, height, 24 bits a pixel, uncompressed; the pixels fill the file.
  ASSERT_EQ((std::vector<std::size_t>{U32(b, 2), U32(b, 18), U32(b, 22), U16(b, 28), U32(b, 30), b.size()}),
            (std::vector<std::size_t>{b.size(), width, height, 24, 0, offset + rowBytes * height}));
  // The water (blue well above red) runs north–south over most of the
  // height, narrow and in the west half, leaving the east for the name.
  int top = height, bottom = -1, west = width, east = -1;
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col) {
      const std::size_t at = offset + row * rowBytes + col * 3;  // blue, green, red
      if (b[at] <= b[at + 2] + 60) continue;
      top = std::min(top, height - 1 - row), bottom = std::max(bottom, height - 1 - row);
      west = std::min(west, col), east = std::max(east, col);
    }
  EXPECT_TRUE(bottom - top > height * 3 / 4 && east - west < width / 3 && east < width / 2)
      << "rows " << top << " to " << bottom << ", columns " << west << " to " << east;
}

}  // namespace
}  // namespace lakedrift
