#include <gtest/gtest.h>

#include <QAction>
#include <fstream>
#include <limits>

#include "support/TestPaths.h"
#include "ui/UiSupport.h"

namespace lakedrift {
namespace {

constexpr int kBytesPerValue = 4;
constexpr int16_t kFrames = 6;
constexpr float kShortFramePeriod = 0.01f;
constexpr double kFewParticles = 5;

enum class Damage { Missing, Empty, Cut, NaN, Inf };

// A damaged flow file met by a run or an animation: one message naming the
// file and the place, and a program that goes on working.
struct FlowFault {
  const char* name;
  Damage damage;
  bool run;             // else an animation
  const char* place;    // in the message
  bool refusedAtStart;  // nothing read: picture, vectors and menus stay
};
void PrintTo(const FlowFault& row, std::ostream* os) { *os << row.name; }

class FlowFileFaultTest : public test::WindowTest, public ::testing::WithParamInterface<FlowFault> {
 protected:
  FlowFileFaultTest() {
    ParametersContinue();
    state.ParticleCount = kFewParticles;
    state.FramePeriod = kShortFramePeriod;
    state.FrameCount = 1;
    Choose("AnimFlow");  // vectors on the picture, which a refused command keeps
    state.FrameCount = kFrames;
    Release("3", "3");
  }
  std::filesystem::path FlowPath() const { return lake.Path() / state.FlowFileName; }
  std::streamoff FrameBytes() const { return 2LL * kBytesPerValue * state.NodeCount; }

  void Put(std::streamoff at, float value) const {
    std::fstream file(FlowPath(), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(at);
    file.write(reinterpret_cast<const char*>(&value), sizeof value);
    ASSERT_TRUE(file.good());
  }
  void Damage(enum Damage damage) const {
    const auto nodeAt = [this](int frame, int node, bool isU) {
      return FrameBytes() * frame + (isU ? 0 : FrameBytes() / 2) + kBytesPerValue * (node - 1);
    };
    switch (damage) {
      case Damage::Missing: std::filesystem::remove(FlowPath()); break;
      case Damage::Empty: std::filesystem::resize_file(FlowPath(), 0); break;
      case Damage::Cut: std::filesystem::resize_file(FlowPath(), static_cast<std::uintmax_t>(FrameBytes() * 4 + 8)); break;
      case Damage::NaN: Put(nodeAt(3, 7, true), std::numeric_limits<float>::quiet_NaN()); break;
      case Damage::Inf: Put(nodeAt(2, 36, false), std::numeric_limits<float>::infinity()); break;
    }
  }
};

TEST_P(FlowFileFaultTest, OneMessageThenTheProgramWorksOn) {
  const FlowFault& fault = GetParam();
  const QImage before = Picture();
  const Array1<float> u = state.NodeU;
  Damage(fault.damage);
  Choose(fault.run ? "StartSim" : "AnimFlow");
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  const std::string& message = dialogs.Messages()[0].text;
  EXPECT_NE(message.find("tanws.fld"), std::string::npos) << message;
  EXPECT_NE(message.find(fault.place), std::string::npos) << message;
  ExpectIdle();
  EXPECT_TRUE(std::isfinite(state.MaxSpeed));
  EXPECT_EQ(Item("StartSim")->isEnabled(), !fault.run || fault.refusedAtStart);
  if (fault.refusedAtStart) {
    EXPECT_EQ(Picture(), before);
    EXPECT_EQ(state.NodeU, u);
  } else if (fault.run) {
    EXPECT_GT(test::CountColour(Picture(), test::kTrack), 0);  // the steps before it stay drawn
  }

  std::filesystem::copy_file(test::TestDataPath("testlake.fld"), FlowPath(),
                             std::filesystem::copy_options::overwrite_existing);
  Choose("AnimFlow");
  Release("3", "3");
  Choose("StartSim");
  EXPECT_EQ(dialogs.Messages().size(), 1u) << dialogs.Messages().back().text;
  ExpectIdle();
  EXPECT_FALSE(Item("StartSim")->isEnabled());
  EXPECT_GT(test::CountColour(Picture(), test::kTrack), 0);
}

const FlowFault kFaults[] = {
    {"missing_run", Damage::Missing, true, "", true},
    {"missing_animation", Damage::Missing, false, "", true},
    {"empty_run", Damage::Empty, true, "frame 0", true},
    {"empty_animation", Damage::Empty, false, "frame 0", true},
    {"cut_run", Damage::Cut, true, "frame 4", false},
    {"cut_animation", Damage::Cut, false, "frame 4", false},
    {"nan_run", Damage::NaN, true, "frame 3, node 7", false},
    {"nan_animation", Damage::NaN, false, "frame 3, node 7", false},
    {"inf_run", Damage::Inf, true, "frame 2, node 36", false},
    {"inf_animation", Damage::Inf, false, "frame 2, node 36", false},
};
INSTANTIATE_TEST_SUITE_P(Damages, FlowFileFaultTest, ::testing::ValuesIn(kFaults),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lakedrift
