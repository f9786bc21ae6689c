#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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
  state.Region = 1;
  state.Season = 1;
  state.FlowType = 1;
  state.RegionTitle = "LAKE TANGANYIKA";
  ApplyRunParameters(DefaultRunParameters(), state);
  state.VectorScale = 0.25;  // the scale the pinned pictures were drawn at
  state.Magnification = 1.0f;
  state.FlowFileName = TestDataPath("testlake.fld").string();
  state.ReleaseX = 3.0;
  state.ReleaseY = 1.0f;
  return state;
}

// The U of every node in frame k of the committed test flow file.
inline float TestFlowU(int k) {
  const double angle = 2.0 * 3.141592653589793 * k / 84;
  return static_cast<float>(0.02 * std::cos(angle) + 0.0001 * k);
}

// Writes a flow file of `frames` frames in which node n (1..) of frame k
// has the velocity u(k, n), v(k, n).
inline std::filesystem::path WriteFlow(const std::string& name, int nodeCount, int frames,
                                       const std::function<float(int, int)>& u,
                                       const std::function<float(int, int)>& v) {
  // A folder per test as well as per name: ctest runs the cases side by side.
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string folder = "flow_" + name;
  if (test) folder += std::string("_") + test->test_suite_name() + "_" + test->name();
  for (char& c : folder)
    if (c == '/') c = '_';
  const auto path = FreshOutputDir(folder) / (name + ".fld");
  std::ofstream out(path, std::ios::binary);
  auto put = [&out](float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    for (int b = 0; b < 4; ++b) out.put(static_cast<char>((bits >> (8 * b)) & 0xFF));
  };
  for (int k = 0; k < frames; ++k) {
    for (int n = 1; n <= nodeCount; ++n) put(u(k, n));
    for (int n = 1; n <= nodeCount; ++n) put(v(k, n));
  }
  return path;
}

// Writes a flow file of `frames` frames in which every node has (u(k), v(k)).
inline std::filesystem::path WriteUniformFlow(const std::string& name, int nodeCount, int frames,
                                              const std::function<float(int)>& u,
                                              const std::function<float(int)>& v) {
  return WriteFlow(
      name, nodeCount, frames, [&u](int k, int) { return u(k); }, [&v](int k, int) { return v(k); });
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

// A lake with a crooked shore on a mesh of 1 km squares over 0..20 × 0..30
// km: a thin peninsula (0.4 km) reaching in from the east at y = 10 km and a
// narrow bay (0.4 km) running north from the main water at x = 9..9.4 km.
// The mesh covers land too; only the coast ring decides what is water.
inline ModelState CrookedLakeState() {
  constexpr int kColumns = 20, kRows = 30;
  const std::vector<std::pair<double, double>> ring = {{1, 1},    {19, 1},    {19, 10}, {6, 10},
                                                       {6, 10.4}, {19, 10.4}, {19, 19}, {9.4, 19},
                                                       {9.4, 28}, {9, 28},    {9, 19},  {1, 19}};
  auto node = [](int i, int j) { return j * (kColumns + 1) + i + 1; };
  auto element = [](int i, int j, int half) { return 2 * (j * kColumns + i) + half + 1; };
  std::ostringstream text;
  text << "1\n"
       << ring.size() << "\n"
       << (kColumns + 1) * (kRows + 1) << ' ' << 2 * kColumns * kRows << " 3 " << ring.size() << '\n';
  for (int j = 0; j < kRows; ++j)
    for (int i = 0; i < kColumns; ++i) {
      // Lower-right (a, b, c) and upper-left (a, c, d) triangles, counter-clockwise.
      const int below = j > 0 ? element(i, j - 1, 1) : 0, right = i + 1 < kColumns ? element(i + 1, j, 1) : 0;
      const int above = j + 1 < kRows ? element(i, j + 1, 0) : 0, left = i > 0 ? element(i - 1, j, 0) : 0;
      text << element(i, j, 0) << ' ' << node(i, j) << ' ' << node(i + 1, j) << ' ' << node(i + 1, j + 1)
           << ' ' << below << ' ' << right << ' ' << element(i, j, 1) << '\n';
      text << element(i, j, 1) << ' ' << node(i, j) << ' ' << node(i + 1, j + 1) << ' ' << node(i, j + 1)
           << ' ' << element(i, j, 0) << ' ' << above << ' ' << left << '\n';
    }
  for (int j = 0; j <= kRows; ++j)
    for (int i = 0; i <= kColumns; ++i) text << node(i, j) << ' ' << i << ' ' << j << '\n';
  for (std::size_t b = 0; b < ring.size(); ++b)
    text << b + 1 << " 1 " << ring[b].first << ' ' << ring[b].second << '\n';
  ModelState state = TestLakeState();
  const Status s = ReadGeometryText(state, text.str(), "crooked lake");
  EXPECT_TRUE(s.ok()) << s.message();
  return state;
}

}  // namespace lakedrift::test
