// Finding the data files, and reading the flow files.
#include "model/FlowField.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <fstream>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "model/DataFiles.h"
#include "support/TestPaths.h"

namespace lakedrift {
namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Writes float32 values little-endian, whatever the host, then `tail`.
void WriteFloats(const std::filesystem::path& path, const std::vector<float>& values,
                 const std::string& tail) {
  std::ofstream out(path, std::ios::binary);
  for (float v : values)
    for (int b = 0; b < 4; ++b) out.put(static_cast<char>(std::bit_cast<uint32_t>(v) >> (8 * b)));
  out << tail;
}

ModelState ThreeNodes() {
  ModelState state;
  state.NodeCount = 3, state.IsBoundaryNode.Resize(3), PrepareFlowArrays(state);
  return state;
}

// Value 100·frame + 10·block + node: every value says where it was read from;
// value `at`, if given, replaced by `value`.
std::vector<float> Frames(int count, std::size_t at = SIZE_MAX, float value = 0.0f) {
  std::vector<float> values;  // value k is node k % 3 + 1 of block k / 3 % 2 of frame k / 6
  for (int k = 0; k < 6 * count; ++k)
    values.push_back(static_cast<float>(100 * (k / 6) + 10 * (k / 3 % 2) + k % 3 + 1));
  if (at < values.size()) values[at] = value;
  return values;
}

// Faults: a frame taken from a short or non-finite read, the wrong frame or
// node named, the previous frame overwritten, a reopened file not read from
// its start, a missing file not named or left open.
TEST(FlowFileDamage, FailsNamingFileAndFrameAndKeepsThePreviousFrame) {
  // The values, the bytes after them (none: no file), the failure, the
  // frames read before it and what its message names besides the file.
  // clang-format off
  const std::tuple<std::vector<float>, const char*, ErrorKind, int, const char*> rows[] = {
      {Frames(2), "", ErrorKind::ShortFile, 2, "frame 2: the frame starts at byte 48"},
      {{}, "", ErrorKind::ShortFile, 0, "ends inside frame 0"}, {{1, 2, 3, 4, 5}, "", ErrorKind::ShortFile, 0, "holds 20 more"},
      {Frames(2, 10, kNan), "", ErrorKind::BadValue, 1, "frame 1, node 2: V is not a number"},
      {Frames(2, 7, -kInf), "", ErrorKind::BadValue, 1, "frame 1, node 2: U is infinite"},
      {Frames(1), "end", ErrorKind::ShortFile, 1, "frame 1: the frame starts at byte 24 and needs 24 bytes, the file holds 3 more"},
      {{}, nullptr, ErrorKind::FileMissing, 0, "damaged.fld"}};
  // clang-format on
  const auto path = test::FreshOutputDir("flow_damage") / "damaged.fld";
  for (const auto& [values, tail, kind, goodFrames, inMessage] : rows) {
    SCOPED_TRACE(inMessage);
    std::filesystem::remove(path);
    if (tail) WriteFloats(path, values, tail);
    ModelState state = ThreeNodes();
    FlowFieldReader reader;
    Status s = reader.Open(path, 3);
    int frames = 0;
    while (s.ok() && (s = reader.ReadFlowFrame(state)).ok()) ++frames;
    EXPECT_EQ(s.kind(), kind);
    for (const char* named : {"damaged.fld", inMessage})
      EXPECT_NE(s.message().find(named), std::string::npos) << s.message();
    EXPECT_EQ(std::pair(frames, reader.FramesRead()), std::pair(goodFrames, goodFrames));
    EXPECT_TRUE(tail || !reader.IsOpen()) << "a missing file left open";
    // U(3) and V(1) of the last good frame, U then V; opened again, the file is read from frame 0.
    const float last = static_cast<float>(100 * (frames - 1));
    if (frames > 0) {
      EXPECT_EQ(std::pair(state.NodeU(3), state.NodeV(1)), std::pair(last + 3, last + 11));
      EXPECT_TRUE(reader.Open(path, 3).ok() && reader.ReadFlowFrame(state).ok() && reader.FramesRead() == 1);
    }
  }
}

// Faults: boundary nodes counted, the maximum lowered or reset.
TEST(UpdateMaxSpeed, RaisesToTheFastestInteriorNodeNeverLowers) {
  ModelState state = ThreeNodes();
  state.IsBoundaryNode(2) = 1, state.MaxSpeed = 0;
  state.NodeU(2) = 30, state.NodeV(2) = 40, state.NodeV(3) = -1;  // speeds 50 but on the coast, and 1
  for (const float u1 : {3.0f, 0.0f}) {  // node 1 at speed 5, then slowed to 0
    state.NodeU(1) = u1, state.NodeV(1) = u1 * 4 / 3;
    UpdateMaxSpeed(state);
    EXPECT_DOUBLE_EQ(state.MaxSpeed, 5.0) << u1;
  }
}

namespace fs = std::filesystem;

TEST(DataFilePath, CurrentFolderFirstThenTheDataFolderForBareNamesOnly) {
  const fs::path root = test::FreshOutputDir("data-file-path");
  const fs::path current = root / "current", data = root / "share";
  // What is looked up, whether it is in the current folder, in the data
  // folder, and whether the data folder's copy is the answer.
  const std::tuple<const char*, fs::path, bool, bool, bool> rows[] = {
      {"only in the current folder", "geomtan.inp", true, false, false},
      {"in both: the current folder wins", "tanws.fld", true, true, false},
      {"only in the data folder", "bougarab.wav", false, true, true},
      {"nowhere: named as given", "geommal.inp", false, false, false},
      {"a name with a folder is never looked up", "sub/geomzam.inp", false, true, false}};
  for (const auto& [what, name, inCurrent, inData, fromData] : rows) {
    if (inCurrent) test::WriteTextFile(current / name, "x");
    if (inData) test::WriteTextFile(data / name, "x");
    EXPECT_EQ(DataFilePath(name, current, data), fromData ? data / name : name) << what;
  }
  // An absolute path stays itself even when the data folder has its name.
  test::WriteTextFile(data / "startup.bmp", "x");
  EXPECT_EQ(DataFilePath(root / "startup.bmp", current, data), root / "startup.bmp");
  // Without a data folder nothing is looked up.
  EXPECT_EQ(DataFilePath("bougarab.wav", current, fs::path()), fs::path("bougarab.wav"));
}

}  // namespace
}  // namespace lakedrift
