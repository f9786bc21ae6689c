#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <fstream>
#include <functional>
#include <string>

#include "model/GeometryReader.h"
#include "model/ModelState.h"
#include "model/RunParameters.h"
#include "support/TestPaths.h"
#include "view/Surface.h"

namespace lakedrift::test {

// The test lake with the run parameters a user gets after start-up (at the
// vector scale its pinned pictures were drawn with).
inline ModelState TestLakeState() {
  ModelState state;
  const Status s = ReadGeometry(state, TestDataPath("testlake.inp"));
  EXPECT_TRUE(s.ok()) << s.message();
  state.Region = state.Season = state.FlowType = 1, state.RegionTitle = "LAKE TANGANYIKA";
  ApplyRunParameters(DefaultRunParameters(), state);
  state.VectorScale = 0.25, state.Magnification = 1.0f;  // the scale the pinned pictures were drawn at
  state.FlowFileName = TestDataPath("testlake.fld").string(), state.ReleaseX = 3.0, state.ReleaseY = 1.0f;
  return state;
}

// Writes a flow file of `frames` frames in which node n (1..) of frame k
// has the velocity u(k, n), v(k, n).
inline std::filesystem::path WriteFlow(const std::string& name, int nodeCount, int frames,
                                       const std::function<float(int, int)>& u,
                                       const std::function<float(int, int)>& v) {
  // A folder per test as well as per name: ctest runs the cases side by side.
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string folder = "flow_" + name + "_" + test->test_suite_name() + "_" + test->name();
  std::replace(folder.begin(), folder.end(), '/', '_');
  const auto path = FreshOutputDir(folder) / (name + ".fld");
  std::ofstream out(path, std::ios::binary);
  // Frame by frame, all u then all v, each value little-endian whatever the host.
  for (int i = 0; i < 2 * frames * nodeCount; ++i) {
    const auto bits =
        std::bit_cast<uint32_t>((i / nodeCount % 2 ? v : u)(i / (2 * nodeCount), i % nodeCount + 1));
    for (int b = 0; b < 4; ++b) out.put(static_cast<char>(bits >> (8 * b)));
  }
  return path;
}

// A surface that draws nothing, for runs whose picture plays no part.
class NullSurface : public Surface {
 public:
  void Clear() override {}
  void Line(float, float, float, float) override {}
  void FilledBox(float, float, float, float, Rgb) override {}
  void Circle(float, float, float, Rgb) override {}
  void Print(const std::string&) override {}
  float TextWidth(const std::string&) const override { return 1; }
  float TextHeight(const std::string&) const override { return 1; }
};

}  // namespace lakedrift::test
