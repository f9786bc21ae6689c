#include "ui/UiSupport.h"

#include <fstream>
#include <limits>

namespace lakedrift {
namespace {

constexpr int16_t kManyFrames = 60;
constexpr float kShortFramePeriod = 0.05f;
constexpr int16_t kLongAnimationFrames = 3;
constexpr float kLongFramePeriod = 10;  // s: an end that waits for the animation fails the time limit
constexpr int kPromptEndMs = 5000;

std::string NameOf(bool run) { return run ? "run" : "animation"; }

// Commands given while a run or an animation plays act from inside its
// yield or its wait between frames.
class BusyTest : public test::WindowTest {
 protected:
  BusyTest() { ParametersContinue(); }

  // Starts a run (else an animation), calling `whileBusy` once from inside it.
  void Play(bool run, const std::function<void()>& whileBusy) {
    if (run) Release("3", "3");
    bool called = false;
    QObject scope;  // the call is dropped with this one, should the command never yield
    QTimer::singleShot(0, &scope, [&] {
      EXPECT_TRUE(window->IsBusy());
      EXPECT_EQ(test::OpenHandlesTo(state.FlowFileName), 1);
      whileBusy();
      called = true;
    });
    Choose(run ? "StartSim" : "AnimFlow");
    EXPECT_TRUE(called) << "the command never yielded";
  }
  // The zoom commands, both bars, a resize, the parameter dialog and Save Image: every redraw in the middle
  // finds the coast in km.
  void UseTheView() {
    Choose("ZoomIn");
    Choose("ZoomOut");
    Choose("ZoomOut");
    EXPECT_TRUE(CoastShownInKm()) << "after Zoom Out";
    const QtImageSurface& view = window->Picture();
    const float left = view.ScaleLeft(), top = view.ScaleTop();
    Bar("HScroll1")->setValue(Bar("HScroll1")->maximum());
    Bar("VScroll1")->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_TRUE(view.ScaleLeft() != left && view.ScaleTop() != top) << "a bar did not scroll";

    QWidget* client = window->centralWidget();
    const QSize clientBefore = client->size();
    window->resize(clientBefore.width() + 30, clientBefore.height() + 30);
    EXPECT_TRUE(QTest::qWaitFor([&] { return client->width() > clientBefore.width(); }));
    EXPECT_EQ(Picture().size(), client->size());
    EXPECT_EQ(QPoint(Bar("VScroll1")->geometry().right(), Bar("HScroll1")->geometry().bottom()),
              QPoint(client->width() - 1, client->height() - 1))
        << "the bars are not on the edges";
    EXPECT_TRUE(CoastShownInKm()) << "after the resize";

    Choose("EntParamValues");
    for (auto [row, text] : {std::pair("Text4", "7"), std::pair("Text6", "10")}) {
      window->ParameterDialog()->findChild<QLineEdit*>(row)->selectAll();
      QTest::keyClicks(window->ParameterDialog()->findChild<QLineEdit*>(row), text);
    }
    ParametersContinue();  // the dialog as it stands
    dialogs.answers = {"midway"};
    Choose("SaveImage");
    EXPECT_TRUE(std::filesystem::exists(lake / "midway.bmp"));
    EXPECT_TRUE(window->IsBusy());
  }
};

// A run (true) or an animation (false).
class ViewWhileBusyTest : public BusyTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ViewWhileBusyTest, ViewCommandsAndParametersActAndTheCommandGoesOn) {
  state.FrameCount = kManyFrames;
  state.FramePeriod = kShortFramePeriod;
  Play(GetParam(), [this] { UseTheView(); });
  ExpectIdle();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(CoastShownInKm());
  EXPECT_TRUE(GetParam() ? !Item("StartSim")->isEnabled() && test::CountColour(Picture(), test::kTrack) > 0
                         : state.VectorsShown == 1)
      << "the run left no tracks or never came to its end, or the animation left no vectors";
  // The values typed in the middle hold for the next run.
  EXPECT_EQ(std::pair(state.ParticleCount, state.DiffusionCoef), std::pair(7.0, 10.0));
}

// Exit (true) or a closed window (false) during a run (true) or an
// animation ends the program at once, also the open parameter dialog, and
// closes the flow file.
class EndWhileBusyTest : public BusyTest, public ::testing::WithParamInterface<std::tuple<bool, bool>> {};

TEST_P(EndWhileBusyTest, EndsAtOnce) {
  const auto [run, byExit] = GetParam();
  state.FrameCount = kLongAnimationFrames;
  state.FramePeriod = kLongFramePeriod;
  Choose("EntParamValues");  // left open
  QElapsedTimer clock;
  clock.start();
  Play(run, [&] { byExit ? Choose("Exit") : (void)window->close(); });
  EXPECT_LT(clock.elapsed(), kPromptEndMs);
  ExpectIdle(1);
  EXPECT_FALSE(window->isVisible() || window->ParameterDialog()->isVisible()) << "a window is still shown";
  EXPECT_TRUE(dialogs.messages.empty());
  // A stopped run never reached the end that greys Start Simulation.
  EXPECT_TRUE(!run || Item("StartSim")->isEnabled());
}

// A run or a second animation asked for while an animation plays is
// refused at once; the animation plays on and the run may start later.
TEST_F(BusyTest, RunOrSecondAnimationWhileBusyIsRefused) {
  constexpr int kFrames = 4, kPeriodMs = 500, kSlackMs = 50;
  state.FrameCount = kFrames;
  state.FramePeriod = kPeriodMs / 1000.0f;
  Release("3", "3");
  QElapsedTimer whole;
  whole.start();
  Play(false, [this] {
    QElapsedTimer clock;
    clock.start();
    Choose("StartSim");
    Choose("AnimFlow");
    EXPECT_LT(clock.elapsed(), kPeriodMs - kSlackMs);  // neither ran: no step, no frame wait
    EXPECT_TRUE(Item("StartSim")->isEnabled());        // a run would have greyed it
  });
  EXPECT_GE(whole.elapsed(), kFrames * kPeriodMs - kSlackMs);
  ExpectIdle();
  EXPECT_TRUE(dialogs.messages.empty());
  Choose("StartSim");
  EXPECT_FALSE(Item("StartSim")->isEnabled()) << "the run did not come to its end";
}

INSTANTIATE_TEST_SUITE_P(Commands, ViewWhileBusyTest, ::testing::Bool(),
                         [](const auto& row) { return NameOf(row.param); });
INSTANTIATE_TEST_SUITE_P(Ends, EndWhileBusyTest, ::testing::Combine(::testing::Bool(), ::testing::Bool()),
                         [](const auto& row) {
                           return (std::get<1>(row.param) ? "exit_" : "close_") +
                                  NameOf(std::get<0>(row.param));
                         });

using Path = std::filesystem::path;
constexpr std::streamoff kBytesPerValue = 4;
constexpr int16_t kFrames = 6;
constexpr float kQuickFramePeriod = 0.01f;
constexpr double kFewParticles = 5;

// Writes `value` at byte `at` of the file.
void Put(const Path& file, std::streamoff at, float value) {
  std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
  ASSERT_TRUE(stream.seekp(at).write(reinterpret_cast<const char*>(&value), sizeof value).good());
}

// A damaged flow file met by a run or an animation: one message naming the
// file and the place, and a program that goes on working. The damage gets
// the bytes of a frame (all u, then all v); the place is named in the
// message; refused at the start, nothing is read: picture, vectors and
// menus stay.
// clang-format off
struct FlowFault { const char* name; void (*damage)(const Path& file, std::streamoff frameBytes); const char* place; bool refusedAtStart; };
const FlowFault kFaults[] = {
    {"missing", [](const Path& f, std::streamoff) { std::filesystem::remove(f); }, "", true},
    {"empty", [](const Path& f, std::streamoff) { std::filesystem::resize_file(f, 0); }, "frame 0", true},
    {"cut", [](const Path& f, std::streamoff frame) { std::filesystem::resize_file(f, static_cast<std::uintmax_t>(frame * 4 + 8)); }, "frame 4", false},
    {"nan", [](const Path& f, std::streamoff frame) { Put(f, frame * 3 + kBytesPerValue * 6, std::numeric_limits<float>::quiet_NaN()); }, "frame 3, node 7", false},
    {"inf", [](const Path& f, std::streamoff frame) { Put(f, frame * 2 + frame / 2 + kBytesPerValue * 35, std::numeric_limits<float>::infinity()); }, "frame 2, node 36", false},
};
// clang-format on

// The fault, and a run (true) or an animation (false) meeting it.
class FlowFileFaultTest : public test::WindowTest,
                          public ::testing::WithParamInterface<std::tuple<FlowFault, bool>> {};

TEST_P(FlowFileFaultTest, OneMessageThenTheProgramWorksOn) {
  const auto [fault, run] = GetParam();
  ParametersContinue();
  state.ParticleCount = kFewParticles;
  state.FramePeriod = kQuickFramePeriod;
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
  EXPECT_TRUE(!fault.refusedAtStart || (Picture() == before && state.NodeU == u)) << "refused, yet changed";
  EXPECT_TRUE(fault.refusedAtStart || !run || test::CountColour(Picture(), test::kTrack) > 0)
      << "the steps before the fault are no longer drawn";

  std::filesystem::copy_file(test::TestDataPath("testlake.fld"), flow,
                             std::filesystem::copy_options::overwrite_existing);
  Choose("AnimFlow");
  Release("3", "3");
  Choose("StartSim");
  EXPECT_EQ(dialogs.messages.size(), 1u) << dialogs.messages.back();
  EXPECT_FALSE(Item("StartSim")->isEnabled()) << "the next run did not come to its end";
}

INSTANTIATE_TEST_SUITE_P(Damages, FlowFileFaultTest,
                         ::testing::Combine(::testing::ValuesIn(kFaults), ::testing::Bool()),
                         [](const auto& row) {
                           return std::string(std::get<0>(row.param).name) + "_" +
                                  NameOf(std::get<1>(row.param));
                         });

}  // namespace
}  // namespace lakedrift
