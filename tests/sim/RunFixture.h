#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>

#include "model/GeometryReader.h"
#include "model/ModelState.h"
#include "support/TestPaths.h"

namespace lakedrift::test {

// The test lake with the run parameters a user gets after start-up.
inline ModelState TestLakeState() {
  ModelState state;
  const Status s = ReadGeometry(state, TestDataPath("testlake.inp"));
  EXPECT_TRUE(s.ok()) << s.message();
  state.Region = 1;
  state.Season = 1;
  state.FlowType = 1;
  state.RegionTitle = "LAKE TANGANYIKA";
  state.VectorScale = 0.25;
  state.FrameCount = 83;
  state.FramePeriod = 1.0f;
  state.ParticleCount = 50;
  state.TimeStep = 7200.0;
  state.SimHours = 166;
  state.DiffusionCoef = 0.1;
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

// Writes a flow file of `frames` frames in which every node has (u(k), v(k)).
inline std::filesystem::path WriteUniformFlow(const std::string& name, int nodeCount, int frames,
                                              const std::function<float(int)>& u,
                                              const std::function<float(int)>& v) {
  const auto path = FreshOutputDir("flow_" + name) / (name + ".fld");
  std::ofstream out(path, std::ios::binary);
  auto put = [&out](float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    for (int b = 0; b < 4; ++b) out.put(static_cast<char>((bits >> (8 * b)) & 0xFF));
  };
  for (int k = 0; k < frames; ++k) {
    for (int i = 0; i < nodeCount; ++i) put(u(k));
    for (int i = 0; i < nodeCount; ++i) put(v(k));
  }
  return path;
}

}  // namespace lakedrift::test
