#include "ui/UiSupport.h"

#include <fstream>
#include <limits>

namespace lakedrift {
namespace {

constexpr int kPromptEndMs = 5000;

std::string NameOf(bool run) { return run ? "run" : "animation"; }

// Commands given while a run or an animation plays act from inside its
// yield or its wait between frames.
class BusyTest : public test::WindowTest {
 protected:
  BusyTest() { ParametersContinue(); }

  // Starts a run (else an animation) of `frames` frames `period` s apart,
  // calling `whileBusy` once from inside it.
  void Play(bool run, int16_t frames, float period, const std::function<void()>& whileBusy) {
    state.FrameCount = frames, state.FramePeriod = period;
    if (run) Release("3", "3");
    bool called = false;
    QObject scope;  // the call is dropped with this one, should the command never yield
    QTimer::singleShot(0, &scope, [&] {
      EXPECT_TRUE(window->IsBusy() && test::OpenHandlesTo(state.FlowFileName) == 1)
          << "not busy, file closed";
      whileBusy();
      called = true;
    });
    Choose(run ? "StartSim" : "AnimFlow");
    EXPECT_TRUE(called) << "the command never yielded";
  }
  // The zoom commands, both bars, a resize, the parameter dialog and Save
  // Image: every redraw in the middle finds the coast in km.
  void UseTheView() {
    for (const char* zoom : {"ZoomIn", "ZoomOut", "ZoomOut"}) Choose(zoom);
    EXPECT_TRUE(CoastShownInKm()) << "after Zoom Out";
    const QtImageSurface& view = window->Picture();
    const float left = view.ScaleLeft(), top = view.ScaleTop();
    Bar("HScroll1")->setValue(Bar("HScroll1")->maximum());
    Bar("VScroll1")->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_TRUE(view.ScaleLeft() != left && view.ScaleTop() != top) << "a bar did not scroll";

    QWidget* client = window->centralWidget();
    const int width = client->width();
    window->resize(width + 30, client->height() + 30);
    EXPECT_TRUE(QTest::qWaitFor([&] { return client->width() > width; }));
    EXPECT_EQ(std::tuple(Picture().size(), Bar("VScroll1")->geometry().right(),
                         Bar("HScroll1")->geometry().bottom()),
              std::tuple(client->size(), client->width() - 1, client->height() - 1))
        << "the picture not the client's size, or the bars not on its edges";
    EXPECT_TRUE(CoastShownInKm()) << "after the resize";

    for (auto [row, text] : {std::pair("Text4", "7"), std::pair("Text6", "10")})
      window->ParameterDialog()->findChild<QLineEdit*>(row)->setText(text);
    ParametersContinue();  // the dialog opened and continued as it stands
    dialogs.answers = {"midway"}, Choose("SaveImage");
    EXPECT_TRUE(std::filesystem::exists(lake / "midway.bmp") && window->IsBusy()) << "not saved, or ended";
  }
};

// A run (true) or an animation (false).
class ViewWhileBusyTest : public BusyTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ViewWhileBusyTest, ViewCommandsAndParametersActAndTheCommandGoesOn) {
  Play(GetParam(), 60, 0.05f, [this] { UseTheView(); });  // many short frames
  ExpectIdle();
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
  Choose("EntParamValues");  // left open
  QElapsedTimer clock;
  clock.start();
  // 10 s frames: an end that waits for the animation fails the time limit.
  Play(run, 3, 10, [&] { byExit ? Choose("Exit") : (void)window->close(); });
  EXPECT_LT(clock.elapsed(), kPromptEndMs);
  ExpectIdle(1);
  EXPECT_FALSE(window->isVisible() || window->ParameterDialog()->isVisible()) << "a window is still shown";
  // A stopped run never reached the end that greys Start Simulation.
  EXPECT_TRUE(!run || Item("StartSim")->isEnabled());
}

// A run or a second animation asked for while an animation plays is
// refused at once; the animation plays on and the run may start later.
TEST_F(BusyTest, RunOrSecondAnimationWhileBusyIsRefused) {
  constexpr int kFrames = 4, kPeriodMs = 500, kSlackMs = 50;
  Release("3", "3");
  QElapsedTimer whole;
  whole.start();
  Play(false, kFrames, kPeriodMs / 1000.0f, [this] {
    QElapsedTimer clock;
    clock.start();
    for (const char* command : {"StartSim", "AnimFlow"}) Choose(command);
    EXPECT_LT(clock.elapsed(), kPeriodMs - kSlackMs);  // neither ran: no step, no frame wait
    EXPECT_TRUE(Item("StartSim")->isEnabled());        // a run would have greyed it
  });
  EXPECT_GE(whole.elapsed(), kFrames * kPeriodMs - kSlackMs);
  ExpectIdle();
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
  state.ParticleCount = 5, state.FramePeriod = 0.01f, state.FrameCount = 1;  // few particles, quick frames
  Choose("AnimFlow");  // vectors on the picture, which a refused command keeps
  state.FrameCount = 6;
  Release("3", "3");
  const QImage before = Picture();
  const Array1<float> u = state.NodeU;
  const Path flow = lake / state.FlowFileName;
  fault.damage(flow, 2 * kBytesPerValue * state.NodeCount);
  Choose(run ? "StartSim" : "AnimFlow");
  ExpectIdle(0, 1);
  const std::string message = dialogs.messages.empty() ? "" : dialogs.messages[0];
  EXPECT_TRUE(message.find("tanws.fld") != std::string::npos &&
              message.find(fault.place) != std::string::npos)
      << message;
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
