#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <limits>
#include <vector>

#include "model/FlowField.h"
#include "support/TestPaths.h"

namespace lakedrift {
namespace {

// Writes float32 values little-endian, whatever the host.
void WriteFloats(const std::filesystem::path& path, const std::vector<float>& values) {
  std::ofstream out(path, std::ios::binary);
  for (float v : values) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    const unsigned char bytes[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                                    static_cast<unsigned char>(bits >> 16),
                                    static_cast<unsigned char>(bits >> 24)};
    out.write(reinterpret_cast<const char*>(bytes), 4);
  }
}

ModelState ThreeNodes() {
  ModelState state;
  state.NodeCount = 3;
  state.IsBoundaryNode.Resize(3);
  PrepareFlowArrays(state);
  return state;
}

TEST(FlowFileName, FollowsRegionSeasonAndFlowType) {
  EXPECT_EQ(FlowFileNameFor(1, 1, 1), "tanws.fld");
  EXPECT_EQ(FlowFileNameFor(1, 2, 2), "tanda.fld");
  EXPECT_EQ(FlowFileNameFor(2, 1, 2), "malwa.fld");
  EXPECT_EQ(FlowFileNameFor(3, 2, 1), "zamds.fld");
  EXPECT_EQ(FlowFileNameFor(3, 1, 1), "zamws.fld");
}

TEST(FlowFieldReader, ReadsFramesInSequenceUThenV) {
  // Value = 100·frame + 10·block + node, so every value says where it was.
  std::vector<float> values;
  for (int frame = 0; frame < 2; ++frame)
    for (int block = 0; block < 2; ++block)
      for (int node = 1; node <= 3; ++node)
        values.push_back(static_cast<float>(100 * frame + 10 * block + node));
  const auto path = test::FreshOutputDir("flow_sequence") / "three.fld";
  WriteFloats(path, values);
  ASSERT_EQ(std::filesystem::file_size(path), 48u);  // 24 bytes a frame for N = 3

  ModelState state = ThreeNodes();
  FlowFieldReader reader;
  ASSERT_TRUE(reader.Open(path, 3).ok());
  ASSERT_TRUE(reader.ReadFlowFrame(state).ok());
  EXPECT_FLOAT_EQ(state.NodeU(3), 3.0f);
  EXPECT_FLOAT_EQ(state.NodeV(1), 11.0f);
  ASSERT_TRUE(reader.ReadFlowFrame(state).ok());
  // In frame 1, byte offset 24 + 8 holds U(3) and 24 + 12 holds V(1).
  EXPECT_FLOAT_EQ(state.NodeU(3), 103.0f);
  EXPECT_FLOAT_EQ(state.NodeV(1), 111.0f);
  EXPECT_EQ(reader.FramesRead(), 2);

  // A third frame is not there: a short read names frame 2 and offset 48,
  // and the arrays keep frame 1.
  const Status s = reader.ReadFlowFrame(state);
  EXPECT_EQ(s.kind(), ErrorKind::ShortFile);
  EXPECT_NE(s.message().find("frame 2"), std::string::npos) << s.message();
  EXPECT_NE(s.message().find("byte 48"), std::string::npos) << s.message();
  EXPECT_FLOAT_EQ(state.NodeU(3), 103.0f);

  // Opening again starts at frame 0.
  ASSERT_TRUE(reader.Open(path, 3).ok());
  ASSERT_TRUE(reader.ReadFlowFrame(state).ok());
  EXPECT_FLOAT_EQ(state.NodeU(1), 1.0f);
}

TEST(FlowFieldReader, FileEndingInsideAFrameIsAShortFile) {
  const auto path = test::FreshOutputDir("flow_short") / "short.fld";
  WriteFloats(path, {1, 2, 3, 4, 5});  // 20 of 24 bytes
  ModelState state = ThreeNodes();
  FlowFieldReader reader;
  ASSERT_TRUE(reader.Open(path, 3).ok());
  const Status s = reader.ReadFlowFrame(state);
  EXPECT_EQ(s.kind(), ErrorKind::ShortFile);
  EXPECT_NE(s.message().find("frame 0"), std::string::npos);
  EXPECT_NE(s.message().find("short.fld"), std::string::npos);
}

TEST(FlowFieldReader, NonFiniteValueRefusesTheFrameNamingFrameAndNode) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const auto dir = test::FreshOutputDir("flow_nonfinite");
  WriteFloats(dir / "nan.fld", {1, 2, 3, 4, 5, 6, 1, 2, 3, 4, nan, 6});
  WriteFloats(dir / "inf.fld", {1, 2, 3, 4, 5, 6, 1, -inf, 3, 4, 5, 6});
  for (const auto& [name, expected] : {std::pair{"nan.fld", "frame 1, node 2: V is not a number"},
                                       std::pair{"inf.fld", "frame 1, node 2: U is infinite"}}) {
    ModelState state = ThreeNodes();
    FlowFieldReader reader;
    ASSERT_TRUE(reader.Open(dir / name, 3).ok());
    ASSERT_TRUE(reader.ReadFlowFrame(state).ok());
    const Status s = reader.ReadFlowFrame(state);
    EXPECT_EQ(s.kind(), ErrorKind::BadValue);
    EXPECT_NE(s.message().find(expected), std::string::npos) << s.message();
    EXPECT_FLOAT_EQ(state.NodeU(2), 2.0f);  // frame 0 is kept
  }
}

TEST(FlowFieldReader, MissingFileIsNamed) {
  FlowFieldReader reader;
  const Status s = reader.Open(test::FreshOutputDir("flow_missing") / "tanws.fld", 3);
  EXPECT_EQ(s.kind(), ErrorKind::FileMissing);
  EXPECT_NE(s.message().find("tanws.fld"), std::string::npos);
  EXPECT_FALSE(reader.IsOpen());
}

TEST(UpdateMaxSpeed, SkipsBoundaryNodesAndNeverLowers) {
  ModelState state = ThreeNodes();
  state.IsBoundaryNode(2) = 1;
  state.NodeU(1) = 3, state.NodeV(1) = 4;    // 5
  state.NodeU(2) = 30, state.NodeV(2) = 40;  // 50, but a boundary node
  state.NodeU(3) = 0, state.NodeV(3) = -1;   // 1
  state.MaxSpeed = 0;
  UpdateMaxSpeed(state);
  EXPECT_DOUBLE_EQ(state.MaxSpeed, 5.0);
  state.NodeU(1) = 0, state.NodeV(1) = 0;
  UpdateMaxSpeed(state);
  EXPECT_DOUBLE_EQ(state.MaxSpeed, 5.0);
}

TEST(UpdateMaxSpeed, FrameOfBoundaryNodesOnlyLeavesItUnchanged) {
  ModelState state = ThreeNodes();
  for (int i = 1; i <= 3; ++i) state.IsBoundaryNode(i) = 1, state.NodeU(i) = 7;
  state.MaxSpeed = -1e20;
  UpdateMaxSpeed(state);
  EXPECT_DOUBLE_EQ(state.MaxSpeed, -1e20);
}

}  // namespace
}  // namespace lakedrift
