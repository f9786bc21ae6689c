#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <filesystem>

#include "ui/FORM3.h"
#include "ui/FaultFixture.h"
#include "ui/YieldScript.h"

namespace lakedrift {
namespace {

const QColor kTrack(255, 0, 0);
constexpr int kAnimationTurnMs = 40;
constexpr float kShortFramePeriod = 0.05f;
constexpr int16_t kManyFrames = 60;

// Commands given while a simulation run or a flow animation is playing:
// they act from inside its yield or wait, and the command goes on.
class FaultWhileBusyTest : public test::FaultFixture {
 protected:
  void SetUp() override {
    OpenWindow();
    ParametersContinue();
  }

  // Every command of the View menu, both bars, a resize below the bars'
  // size and back, the parameter dialog and Save Image, each checked at
  // once: a redraw made in the middle finds the coast in km.
  std::vector<test::YieldScript::Step> ViewSteps() {
    using Step = test::YieldScript::Step;
    std::vector<Step> steps;
    auto busy = [this] { return window->IsBusy(); };
    steps.push_back([=, this] {
      EXPECT_TRUE(busy());
      const float width = window->Picture().ScaleWidth();
      Choose("ZoomIn");  // the test lake lies outside the zoomed quarter
      EXPECT_EQ(state.Magnification, 2.0f);
      EXPECT_FLOAT_EQ(window->Picture().ScaleWidth(), width / 2);
      EXPECT_TRUE(state.BoundaryX == coastX);
      return true;
    });
    steps.push_back([=, this] {
      EXPECT_TRUE(busy());
      Choose("ZoomOut");
      Choose("ZoomOut");
      EXPECT_EQ(state.Magnification, 0.5f);
      EXPECT_TRUE(CoastShownInKm()) << "after Zoom Out";
      return true;
    });
    steps.push_back([=, this] {
      EXPECT_TRUE(busy());
      const float left = window->Picture().ScaleLeft();
      Bar("HScroll1")->setValue(Bar("HScroll1")->maximum());
      EXPECT_NE(window->Picture().ScaleLeft(), left);
      const float top = window->Picture().ScaleTop();
      Bar("VScroll1")->triggerAction(QAbstractSlider::SliderPageStepAdd);
      EXPECT_NE(window->Picture().ScaleTop(), top);
      return true;
    });
    steps.push_back([=, this] {
      EXPECT_TRUE(busy());
      clientBefore = Client()->size();
      pictureBefore = Picture().size();
      window->resize(40, 30);  // smaller than the two bars together
      return true;
    });
    steps.push_back([=, this] {
      const int extent = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
      if (Client()->height() >= 2 * extent) return false;  // not resized yet
      EXPECT_TRUE(busy());
      EXPECT_EQ(Picture().size(), pictureBefore);  // kept until the window is usable again
      window->resize(clientBefore.width() + 30, clientBefore.height() + 30);
      return true;
    });
    steps.push_back([=, this] {
      if (Client()->width() <= clientBefore.width()) return false;
      EXPECT_TRUE(busy());
      EXPECT_EQ(Picture().size(), Client()->size());
      EXPECT_EQ(Bar("HScroll1")->geometry().bottom(), Client()->height() - 1);
      EXPECT_EQ(Bar("VScroll1")->geometry().right(), Client()->width() - 1);
      EXPECT_EQ(state.Magnification, 1.0f);
      EXPECT_TRUE(CoastShownInKm()) << "after the resize";
      Choose("Fit_to_screen");
      return true;
    });
    steps.push_back([=, this] {
      if (window->frameGeometry().height() != window->screen()->geometry().height()) return false;
      EXPECT_TRUE(busy());
      EXPECT_EQ(Picture().size(), Client()->size());
      EXPECT_TRUE(CoastShownInKm()) << "after Fit to screen";
      Choose("EntParamValues");
      TypeParameter("Text4", "7");
      TypeParameter("Text6", "10");
      return true;
    });
    steps.push_back([=, this] {
      EXPECT_TRUE(busy());
      EXPECT_TRUE(window->ParameterDialog()->isVisible());
      window->ParameterDialog()->findChild<QPushButton*>("Command2")->click();
      EXPECT_FALSE(window->ParameterDialog()->isVisible());
      dialogs.Answer("midway");
      Choose("SaveImage");
      EXPECT_TRUE(std::filesystem::exists(lake.Path() / "midway.bmp"));
      return true;
    });
    return steps;
  }

  QSize clientBefore;
  QSize pictureBefore;
};

TEST_F(FaultWhileBusyTest, ViewCommandsAndParametersDuringARun) {
  ASSERT_TRUE(Release("3", "3"));
  test::YieldScript script(ViewSteps());
  script.Start();
  Choose("StartSim");
  EXPECT_TRUE(script.Finished()) << script.Done() << " steps done; " << script.Failure();
  ExpectRunEnded();
  EXPECT_TRUE(dialogs.Messages().empty());
  EXPECT_GT(test::CountColour(Picture(), kTrack), 0);
  EXPECT_TRUE(CoastShownInKm());
  // The values typed in the middle hold for the next run.
  EXPECT_EQ(state.ParticleCount, 7.0);
  EXPECT_EQ(state.DiffusionCoef, 10.0);
  ASSERT_TRUE(Release("7", "7"));
  Choose("StartSim");
  ExpectRunEnded();
  EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(FaultWhileBusyTest, ViewCommandsAndParametersDuringAnAnimation) {
  state.FrameCount = kManyFrames;
  state.FramePeriod = kShortFramePeriod;
  test::YieldScript script(ViewSteps(), kAnimationTurnMs);
  script.Start();
  Choose("AnimFlow");
  EXPECT_TRUE(script.Finished()) << script.Done() << " steps done; " << script.Failure();
  ExpectIdle();
  EXPECT_FALSE(Item("StartSim")->isEnabled());  // no point was chosen
  EXPECT_EQ(state.VectorsShown, 1);
  EXPECT_TRUE(dialogs.Messages().empty());
  EXPECT_TRUE(CoastShownInKm());
}

TEST_F(FaultWhileBusyTest, RunOrSecondAnimationDuringAnAnimationIsRefused) {
  ASSERT_TRUE(Release("3", "3"));
  state.FrameCount = 4;
  state.FramePeriod = 0.5f;
  bool checked = false;
  QTimer::singleShot(0, window.get(), [&] {
    ASSERT_TRUE(window->IsBusy());
    QElapsedTimer clock;
    clock.start();
    Choose("StartSim");
    Choose("AnimFlow");
    EXPECT_LT(clock.elapsed(), 400);             // neither ran: no step, no frame wait
    EXPECT_TRUE(Item("StartSim")->isEnabled());  // a run would have greyed it
    EXPECT_EQ(test::OpenHandlesTo(state.FlowFileName), 1);
    checked = true;
  });
  QElapsedTimer whole;
  whole.start();
  Choose("AnimFlow");
  EXPECT_TRUE(checked);
  EXPECT_GE(whole.elapsed(), 4 * 500 - 50);  // the first animation played on
  ExpectIdle();
  EXPECT_TRUE(Item("StartSim")->isEnabled());
  EXPECT_TRUE(dialogs.Messages().empty());
  // The refused run can be started now.
  Choose("StartSim");
  ExpectRunEnded();
}

TEST_F(FaultWhileBusyTest, ExitDuringAnAnimationEndsAtOnce) {
  state.FramePeriod = 10;
  Choose("EntParamValues");  // left open: Exit closes it too
  QTimer::singleShot(50, window.get(), [&] { Choose("Exit"); });
  QElapsedTimer clock;
  clock.start();
  Choose("AnimFlow");
  EXPECT_LT(clock.elapsed(), 5000);
  ASSERT_EQ(ended->count(), 1);
  EXPECT_EQ(ended->at(0).at(0).toInt(), 0);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->ParameterDialog()->isVisible());
  EXPECT_FALSE(window->IsBusy());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(test::OpenHandlesTo(state.FlowFileName), 0);
}

TEST_F(FaultWhileBusyTest, ClosingTheWindowDuringARunEndsAtOnce) {
  ASSERT_TRUE(Release("3", "3"));
  int stepsLeftWhenClosed = -1;
  test::YieldScript script({[&] { return true; },  // let one step pass first
                            [&] {
                              stepsLeftWhenClosed = 1;
                              window->close();
                              return true;
                            }});
  script.Start();
  Choose("StartSim");
  EXPECT_EQ(stepsLeftWhenClosed, 1);
  ASSERT_EQ(ended->count(), 1);
  EXPECT_EQ(ended->at(0).at(0).toInt(), 0);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->IsBusy());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(test::OpenHandlesTo(state.FlowFileName), 0);
  EXPECT_TRUE(state.BoundaryX == coastX);
  EXPECT_TRUE(dialogs.Messages().empty());
}

}  // namespace
}  // namespace lakedrift
