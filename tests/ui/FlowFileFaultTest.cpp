#include <gtest/gtest.h>

#include <QAction>
#include <fstream>
#include <limits>

#include "support/TestPaths.h"
#include "ui/UiSupport.h"

namespace lakedrift {
namespace {

using Path = std::filesystem::path;
constexpr std::streamoff kBytesPerValue = 4;
constexpr int16_t kFrames = 6;
constexpr float kShortFramePeriod = 0.01f;
constexpr double kFewParticles = 5;

// Writes `value` at byte `at` of the file.
void Put(const Path& file, std::streamoff at, float value) {
  std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
  stream.seekp(at);
  stream.write(reinterpret_cast<const char*>(&value), sizeof value);
  ASSERT_TRUE(stream.good());
}

// A damaged flow file met by a run or an animation: one message naming the
// file and the place, and a program that goes on working.
struct FlowFault {
  const char* name;
  void (*damage)(const Path& file, std::streamoff frameBytes);  // a frame: all u, then all v
  const char* place;                                            // in the message
  bool refusedAtStart;  // nothing read: picture, vectors and menus stay
};

// clang-format off
const FlowFault kFaults[] = {
    {"missing", [](const Path& f, std::streamoff) { std::filesystem::remove(f); }, "", true},
    {"empty", [](const Path& f, std::streamoff) { std::filesystem::resize_file(f, 0); }, "frame 0", true},
    {"cut", [](const Path& f, std::streamoff frame) { std::filesystem::resize_file(f, static_cast<std::uintmax_t>(frame * 4 + 8)); }, "frame 4", false},
    {"nan", [](const Path& f, std::streamoff frame) { Put(f, frame * 3 + kBytesPerValue * 6, std::numeric_limits<float>::quiet_NaN()); }, "frame 3, node 7", false},
    {"inf", [](const Path& f, std::streamoff frame) { Put(f, frame * 2 + frame / 2 + kBytesPerValue * 35, std::numeric_limits<float>::infinity()); }, "frame 2, node 36", false},
};
// clang-format on

// The fault, and a run (true) or an animation (false) meeting it.
class FlowFileFaultTest : public test::WindowTest, public ::testing::WithParamInterface<std::tuple<FlowFault, bool>> {};

TEST_P(FlowFileFaultTest, OneMessageThenTheProgramWorksOn) {
  const auto [fault, run] = GetParam();
  ParametersContinue();
  state.ParticleCount = kFewParticles;
  state.FramePeriod = kShortFramePeriod;
  state.FrameCount = 1;
  Choose("AnimFlow");  // vectors on the picture, which a refused command keeps
  state.FrameCount = kFrames;
  Release("3", "3");
  const QImage before = Picture();
  const Array1<float> u = state.NodeU;
  const Path flow = lake / state.FlowFileName;
  fault.damage(flow, 2 * kBytesPerValue * state.NodeCount);
  Choose(run ? "StartSim" : "AnimFlow");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].find("tanws.fld"), std::string::npos) << dialogs.messages[0];
  EXPECT_NE(dialogs.messages[0].find(fault.place), std::string::npos) << dialogs.messages[0];
  ExpectIdle();
  EXPECT_TRUE(std::isfinite(state.MaxSpeed));
  EXPECT_EQ(Item("StartSim")->isEnabled(), !run || fault.refusedAtStart);
  if (fault.refusedAtStart) {
    EXPECT_EQ(Picture(), before);
    EXPECT_EQ(state.NodeU, u);
  } else if (run) {
    EXPECT_GT(test::CountColour(Picture(), test::kTrack), 0);  // the steps before it stay drawn
  }

  std::filesystem::copy_file(test::TestDataPath("testlake.fld"), flow, std::filesystem::copy_options::overwrite_existing);
  Choose("AnimFlow");
  Release("3", "3");
  Choose("StartSim");
  EXPECT_EQ(dialogs.messages.size(), 1u) << dialogs.messages.back();
  ExpectIdle();
  EXPECT_FALSE(Item("StartSim")->isEnabled());
  EXPECT_GT(test::CountColour(Picture(), test::kTrack), 0);
}

INSTANTIATE_TEST_SUITE_P(Damages, FlowFileFaultTest, ::testing::Combine(::testing::ValuesIn(kFaults), ::testing::Bool()),
                         [](const auto& row) {
                           return std::get<0>(row.param).name + std::string(std::get<1>(row.param) ? "_run" : "_animation");
                         });

}  // namespace
}  // namespace lakedrift
