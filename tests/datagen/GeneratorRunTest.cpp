// The generator as the build runs it: reproducible to the byte, and the
// media files it makes for the start-up window are well-formed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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
using test::FreshOutputDir;
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

int RunGenerator(const fs::path& folder) {
  const std::string command = std::string("\"") + LAKEDRIFT_DATAGEN_EXE + "\" \"" + LAKEDRIFT_SHORELINE_FILE +
                              "\" \"" + folder.string() + "\" > \"" + (folder / "report.txt").string() + "\"";
  return std::system(command.c_str());
}

const char* const kProgramFiles[] = {"geomtan.inp",  "geommal.inp", "geomzam.inp", "tanws.fld", "tanwa.fld",
                                     "tands.fld",    "tanda.fld",   "malws.fld",   "malwa.fld", "malds.fld",
                                     "malda.fld",    "zamws.fld",   "zamwa.fld",   "zamds.fld", "zamda.fld",
                                     "bougarab.wav", "startup.bmp"};

TEST(GeneratorRunTest, TwoRunsWriteIdenticalFilesAndMatchTheBuild) {
  const fs::path first = FreshOutputDir("datagen_first");
  const fs::path second = FreshOutputDir("datagen_second");
  ASSERT_EQ(RunGenerator(first), 0);
  ASSERT_EQ(RunGenerator(second), 0);
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(first)) {
    const std::string name = entry.path().filename().string();
    if (name == "report.txt") continue;  // holds timings
    const auto bytes = Bytes(entry.path());
    EXPECT_FALSE(bytes.empty()) << name;
    EXPECT_TRUE(bytes == Bytes(second / name)) << name << " differs between two runs";
    EXPECT_TRUE(bytes == Bytes(SampleDataPath(name))) << name << " differs from the build's data";
    ++compared;
  }
  for (const char* name : kProgramFiles) EXPECT_TRUE(fs::exists(first / name)) << name;
  EXPECT_GE(compared, static_cast<int>(std::size(kProgramFiles)));
}

TEST(GeneratorRunTest, RefusesAMissingShorelineWithoutWritingAnything) {
  const fs::path folder = FreshOutputDir("datagen_missing");
  const std::string command = std::string("\"") + LAKEDRIFT_DATAGEN_EXE + "\" \"" +
                              (folder / "no-such-shore.txt").string() + "\" \"" + (folder / "out").string() +
                              "\" 2> \"" + (folder / "errors.txt").string() + "\"";
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_FALSE(fs::exists(folder / "out" / "geomtan.inp"));
  EXPECT_GT(fs::file_size(folder / "errors.txt"), 0u);
}

TEST(GeneratedMediaTest, WaveFileIsA20To40SecondTuneIn16BitPcm) {
  const auto b = Bytes(SampleDataPath("bougarab.wav"));
  ASSERT_GT(b.size(), 44u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
  EXPECT_EQ(U32(b, 4), b.size() - 8);
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(U16(b, 20), 1);  // PCM
  const int channels = U16(b, 22);
  const std::uint32_t rate = U32(b, 24);
  EXPECT_EQ(U16(b, 34), 16);  // bits per sample
  EXPECT_EQ(U32(b, 28), rate * channels * 2);
  ASSERT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
  const std::uint32_t dataBytes = U32(b, 40);
  ASSERT_EQ(dataBytes, b.size() - 44);
  const double seconds = double(dataBytes) / (2.0 * channels * rate);
  EXPECT_GE(seconds, 20.0);
  EXPECT_LE(seconds, 40.0);
  // Audible but not clipped, and not silent for long stretches.
  int peak = 0;
  int silentSeconds = 0, loudInSecond = 0;
  const std::size_t samplesPerSecond = rate * channels;
  for (std::size_t i = 0; i < dataBytes / 2; ++i) {
    const int v = static_cast<std::int16_t>(U16(b, 44 + 2 * i));
    peak = std::max(peak, std::abs(v));
    loudInSecond = std::max(loudInSecond, std::abs(v));
    if ((i + 1) % samplesPerSecond == 0) {
      silentSeconds += loudInSecond < 300 ? 1 : 0;
      loudInSecond = 0;
    }
  }
  EXPECT_GT(peak, 8000);
  EXPECT_LT(peak, 32767);
  EXPECT_LE(silentSeconds, 2);
}

TEST(GeneratedMediaTest, StartupPictureIsA230By145TrueColourBitmapOfWaterAndLand) {
  const auto b = Bytes(SampleDataPath("startup.bmp"));
  ASSERT_GT(b.size(), 54u);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(U32(b, 2), b.size());
  const std::uint32_t offset = U32(b, 10);
  const auto width = static_cast<std::int32_t>(U32(b, 18));
  const auto height = static_cast<std::int32_t>(U32(b, 22));
  EXPECT_EQ(width, 230);
  EXPECT_EQ(height, 145);  // bottom-up rows
  EXPECT_EQ(U16(b, 28), 24);
  EXPECT_EQ(U32(b, 30), 0u);  // uncompressed
  const std::size_t rowBytes = (width * 3 + 3) / 4 * 4;
  ASSERT_EQ(b.size(), offset + rowBytes * height);
  int water = 0, land = 0;
  int top = height, bottom = -1, west = width, east = -1;  // of the water, rows from the top
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col) {
      const std::size_t at = offset + row * rowBytes + col * 3;  // blue, green, red
      if (b[at] > b[at + 2] + 60) {
        ++water;
        top = std::min(top, height - 1 - row), bottom = std::max(bottom, height - 1 - row);
        west = std::min(west, col), east = std::max(east, col);
      } else {
        ++land;
      }
    }
  }
  // The lake is long and narrow: a real part of the picture, not most of it,
  // running north–south over most of the height in the west part, leaving
  // the east for its name.
  const int pixels = width * height;
  EXPECT_GT(water, pixels / 40);
  EXPECT_LT(water, pixels / 4);
  EXPECT_GT(land, pixels / 2);
  EXPECT_GT(bottom - top, height * 3 / 4);
  EXPECT_LT(east - west, width / 3);
  EXPECT_LT(east, width / 2);
}

}  // namespace
}  // namespace lakedrift
