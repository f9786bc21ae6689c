// The generator as the build runs it: run again it writes the build's data
// to the byte (the data every other test reads through the program's
// readers), and the media files it makes for the start-up window are
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
  const char* const kProgramFiles[] = {"geomtan.inp",  "geommal.inp", "geomzam.inp", "tanws.fld", "tanwa.fld",
                                       "tands.fld",    "tanda.fld",   "malws.fld",   "malwa.fld", "malds.fld",
                                       "malda.fld",    "zamws.fld",   "zamwa.fld",   "zamds.fld", "zamda.fld",
                                       "bougarab.wav", "startup.bmp"};
  const fs::path folder = test::FreshOutputDir("datagen_run");
  ASSERT_EQ(RunGenerator(LAKEDRIFT_SHORELINE_FILE, folder), 0);
  for (const char* name : kProgramFiles) EXPECT_TRUE(fs::exists(folder / name)) << name;
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

TEST(GeneratedMediaTest, WaveFileIsAnAudible20To40SecondTuneIn16BitPcm) {
  constexpr std::size_t kHeaderBytes = 44;
  constexpr int kAudiblePeak = 8000;
  const auto b = Bytes(SampleDataPath("bougarab.wav"));
  ASSERT_GT(b.size(), kHeaderBytes);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4) + std::string(b.begin() + 8, b.begin() + 16),
            "RIFFWAVEfmt ");
  EXPECT_EQ(U32(b, 4), b.size() - 8);
  EXPECT_EQ(U16(b, 20), 1);   // PCM
  EXPECT_EQ(U16(b, 34), 16);  // bits per sample
  const int channels = U16(b, 22);
  const std::uint32_t rate = U32(b, 24);
  EXPECT_EQ(U32(b, 28), rate * channels * 2);
  ASSERT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
  ASSERT_EQ(U32(b, 40), b.size() - kHeaderBytes);
  const double seconds = double(b.size() - kHeaderBytes) / (2.0 * channels * rate);
  EXPECT_GE(seconds, 20.0);
  EXPECT_LE(seconds, 40.0);
  int peak = 0;
  for (std::size_t at = kHeaderBytes; at < b.size(); at += 2)
    peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(U16(b, at)))));
  EXPECT_GT(peak, kAudiblePeak);
  EXPECT_LT(peak, 32767);  // not clipped
}

TEST(GeneratedMediaTest, StartupPictureIsA230By145BitmapWithTheLakeDownItsWestPart) {
  const auto b = Bytes(SampleDataPath("startup.bmp"));
  ASSERT_GT(b.size(), 54u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 2), "BM");
  EXPECT_EQ(U32(b, 2), b.size());
  const std::uint32_t offset = U32(b, 10);
  const int width = static_cast<std::int32_t>(U32(b, 18)), height = static_cast<std::int32_t>(U32(b, 22));
  EXPECT_EQ(width, 230);
  EXPECT_EQ(height, 145);  // bottom-up rows
  EXPECT_EQ(U16(b, 28), 24);
  EXPECT_EQ(U32(b, 30), 0u);  // uncompressed
  const std::size_t rowBytes = (width * 3 + 3) / 4 * 4;
  ASSERT_EQ(b.size(), offset + rowBytes * height);
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
  EXPECT_GT(bottom - top, height * 3 / 4);
  EXPECT_LT(east - west, width / 3);
  EXPECT_LT(east, width / 2);
}

}  // namespace
}  // namespace lakedrift
