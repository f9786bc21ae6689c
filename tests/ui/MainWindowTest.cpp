#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <map>
#include <memory>

#include "model/ModelState.h"
#include "model/RunParameters.h"
#include "support/TestPaths.h"
#include "ui/Drelvan.h"
#include "ui/FORM3.h"
#include "ui/ScriptedDialogs.h"
#include "ui/UiSupport.h"
#include "view/MapView.h"

namespace lakedrift {
namespace {

using test::ScriptedDialogs;

const QColor kCoast(0, 0, 0);
const QColor kDisc(0, 128, 0);
const QColor kTrack(255, 0, 0);
const QColor kLabelBox(0, 255, 0);
constexpr uint64_t kPictureRunSeed = 1;  // tracks that leave part of the release disc bare

// The main window opened on the test lake (a 10 km square of water with an
// island from 4 to 6 km), with the start-up choices of the defaults.
class MainWindowTest : public ::testing::Test {
 protected:
  // Each test has a folder of its own: tests may run side by side.
  MainWindowTest()
      : lake(std::string("main_window_") + ::testing::UnitTest::GetInstance()->current_test_info()->name()) {
    state.Region = 1;
    state.Season = 1;
    state.FlowType = 1;
    state.RegionTitle = "LAKE TANGANYIKA";
    window = std::make_unique<Drelvan>(state, dialogs);
    ended = std::make_unique<QSignalSpy>(window.get(), &Drelvan::ProgramEnded);
    loaded = window->Form_Load();
    afterLoad = window->Picture().Image();
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }

  QAction* Item(const char* name) { return test::FindAction(*window, name); }
  void Choose(const char* name) { Item(name)->trigger(); }
  QScrollBar* Bar(const char* name) { return window->findChild<QScrollBar*>(name); }
  QImage Picture() const { return window->Picture().Image(); }
  PixelPoint PixelOf(double x, double y) const { return window->Picture().Transform().ToPixel(x, y); }

  // Enter Parameters Values, then Continue with the values as they stand.
  void ParametersContinue() {
    Choose("EntParamValues");
    window->ParameterDialog()->findChild<QPushButton*>("Command2")->click();
  }
  // Select Point with an accepted point.
  void Release(const char* x, const char* y) {
    dialogs.Answer(x);
    dialogs.Answer(y);
    Choose("SelectPoint");
  }
  std::map<std::string, bool> EnabledStates() {
    std::map<std::string, bool> states;
    for (const char* name : {"EntParamValues", "SelectPoint", "AnimFlow", "StartSim", "Print", "Exit",
                             "ZoomIn", "ZoomOut", "Fit_to_screen", "SaveImage", "About"}) {
      states[name] = Item(name)->isEnabled();
    }
    return states;
  }

  test::LakeFolder lake;
  ModelState state;
  ScriptedDialogs dialogs;
  std::unique_ptr<Drelvan> window;
  std::unique_ptr<QSignalSpy> ended;
  bool loaded = false;
  QImage afterLoad;  // the picture before the window was first shown
};

TEST_F(MainWindowTest, LoadSetsDefaultsAndCentredSquareWindow) {
  ASSERT_TRUE(loaded);
  EXPECT_EQ(window->windowTitle(), "HORIZONTAL TRANSPORT IN LAKE TANGANYIKA");
  EXPECT_EQ(window->HelpFile(), "Orvalith.hlp");
  EXPECT_EQ(state.FlowFileName, "tanws.fld");
  EXPECT_EQ(state.VectorScale, DefaultRunParameters().VectorScale);
  EXPECT_EQ(state.FrameCount, 83);
  EXPECT_EQ(state.FramePeriod, 1.0f);
  EXPECT_EQ(state.ParticleCount, 50.0);
  EXPECT_EQ(state.TimeStep, 7200.0);
  EXPECT_EQ(state.SimHours, 166);
  EXPECT_EQ(state.DiffusionCoef, 0.1);
  EXPECT_EQ(state.Magnification, 1.0f);
  EXPECT_EQ(state.VectorsShown, 0);

  // A square of 0.8 of the screen height (its frame comes on top: it is
  // not known before the first show), centred on the screen.
  const QRect screen = window->screen()->geometry();
  const int side = static_cast<int>(screen.height() * 0.8);
  EXPECT_EQ(window->width(), side);
  EXPECT_EQ(window->height(), side);
  EXPECT_EQ(window->frameGeometry().left(), (screen.width() - side) / 2);
  EXPECT_EQ(window->frameGeometry().top(), (screen.height() - side) / 2);

  // The picture covers the client area, which shows the full view.
  const QWidget* client = window->centralWidget();
  EXPECT_EQ(Picture().size(), client->size());
  EXPECT_FLOAT_EQ(window->Picture().ScaleWidth(), static_cast<float>(1.4 * state.MapWidth));
  EXPECT_GT(test::CountNear(Picture(), PixelOf(0, 5).x, PixelOf(0, 5).y, 1, kCoast), 0);
}

TEST_F(MainWindowTest, ShowingTheWindowKeepsTheFirstPicture) {
  // The load drew the magnification label; the first show must not redraw
  // the picture and lose it.
  QApplication::processEvents();
  EXPECT_EQ(Picture(), afterLoad);
  // The label: black text in the top-left corner of the view, on white.
  const PixelPoint corner = PixelOf(window->Picture().ScaleLeft(), window->Picture().ScaleTop());
  EXPECT_GT(test::CountNear(afterLoad, corner.x + 12, corner.y + 12, 12, kCoast), 0);
}

TEST_F(MainWindowTest, MenuTreeCaptionsOrderAndFirstStates) {
  QStringList bar;
  for (QAction* item : window->menuBar()->actions()) bar << item->text();
  EXPECT_EQ(bar, QStringList({"&Run", "&View", "&Save  Image", "&About"}));
  // Save Image and About act at once: they open no menu.
  EXPECT_EQ(Item("SaveImage")->menu(), nullptr);
  EXPECT_EQ(Item("About")->menu(), nullptr);

  QStringList run;
  for (QAction* item : window->findChild<QMenu*>("Run")->actions()) run << item->text();
  EXPECT_EQ(run, QStringList({"&Enter Parameters Values", "&Select Point", "&View Flow Animation",
                              "&Start Simulation", "&Print", "&Exit"}));
  QStringList view;
  for (QAction* item : window->findChild<QMenu*>("ViewPic")->actions()) view << item->text();
  EXPECT_EQ(view, QStringList({"Zoom&In", "Zoom&Out", "&Fit to screen"}));

  const std::map<std::string, bool> expected = {
      {"EntParamValues", true}, {"SelectPoint", false}, {"AnimFlow", false}, {"StartSim", false},
      {"Print", true},          {"Exit", true},         {"ZoomIn", true},    {"ZoomOut", true},
      {"Fit_to_screen", true},  {"SaveImage", true},    {"About", true}};
  EXPECT_EQ(EnabledStates(), expected);
}

TEST_F(MainWindowTest, MenuStatesFromLoadToRunEnd) {
  Choose("EntParamValues");
  FORM3* dialog = window->ParameterDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  Choose("EntParamValues");  // a second choice shows the same dialog
  EXPECT_EQ(window->ParameterDialog(), dialog);

  dialog->findChild<QPushButton*>("Command2")->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(Item("SelectPoint")->isEnabled());
  EXPECT_TRUE(Item("AnimFlow")->isEnabled());
  EXPECT_FALSE(Item("StartSim")->isEnabled());

  Release("3", "3");
  EXPECT_TRUE(Item("StartSim")->isEnabled());

  state.ParticleCount = 5;
  Choose("StartSim");
  EXPECT_FALSE(window->IsBusy());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is gone
  std::map<std::string, bool> afterRun = EnabledStates();
  EXPECT_FALSE(afterRun["StartSim"]);
  afterRun.erase("StartSim");
  for (const auto& [name, enabled] : afterRun) EXPECT_TRUE(enabled) << name;
  EXPECT_EQ(test::OpenHandlesTo("tanws.fld"), 0);
  EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(MainWindowTest, ReleasePointIsAskedUntilItLiesOnTheWater) {
  ParametersContinue();
  const QImage before = Picture();
  dialogs.Answer("5");  // the island
  dialogs.Answer("5");
  dialogs.Answer("five");  // not a number: asked again
  dialogs.Answer("5");
  dialogs.Answer("0");  // the southern edge of the square
  dialogs.Answer(" 5 ");
  dialogs.Answer("10");  // the northern edge
  Choose("SelectPoint");

  EXPECT_EQ(dialogs.AnswersLeft(), 0u);
  EXPECT_EQ(dialogs.Unscripted(), 0);
  const char* promptX = "Enter X-Coordinate of Release Point in the lake in km";
  const char* promptY = "Enter Y-Coordinate of Release Point in the lake in km";
  const std::vector<std::string> prompts = {promptX, promptY, promptX, promptX, promptY, promptX, promptY};
  ASSERT_EQ(dialogs.Questions().size(), prompts.size());
  for (std::size_t i = 0; i < prompts.size(); ++i) {
    EXPECT_EQ(dialogs.Questions()[i].prompt, prompts[i]) << i;
    EXPECT_EQ(dialogs.Questions()[i].title, "Release Point") << i;
  }
  const char* refusal = "Release Point is not in the lake, Repeat enter, please... ";
  ASSERT_EQ(dialogs.Messages().size(), 3u);
  EXPECT_EQ(dialogs.Messages()[0].text, refusal);
  EXPECT_EQ(dialogs.Messages()[0].title, "Release point");
  EXPECT_EQ(dialogs.Messages()[0].icon, MessageIcon::Exclamation);
  EXPECT_NE(dialogs.Messages()[1].text, refusal);  // the short not-a-number message
  EXPECT_EQ(dialogs.Messages()[2].text, refusal);

  EXPECT_EQ(state.ReleaseX, 5.0);
  EXPECT_EQ(state.ReleaseY, 10.0f);
  EXPECT_TRUE(Item("StartSim")->isEnabled());
  // The green disc, 0.008 of the visible width in radius, on the old picture.
  const PixelPoint centre = PixelOf(5, 10);
  const double radius = 0.008 * Picture().width();
  EXPECT_GT(test::CountNear(Picture(), centre.x, centre.y, 1, kDisc), 0);
  EXPECT_EQ(test::CountNear(before, centre.x, centre.y, 1, kDisc), 0);
  EXPECT_EQ(test::CountNear(Picture(), centre.x, centre.y + radius + 3, 1, kDisc), 0);
}

TEST_F(MainWindowTest, CancelEndsSelectPointWithNothingChanged) {
  ParametersContinue();
  const QImage before = Picture();
  dialogs.Answer(std::nullopt);
  Choose("SelectPoint");
  dialogs.Answer("3");
  dialogs.Answer(std::nullopt);
  Choose("SelectPoint");
  EXPECT_EQ(dialogs.Questions().size(), 3u);
  EXPECT_TRUE(dialogs.Messages().empty());
  EXPECT_EQ(state.ReleaseX, 0.0);
  EXPECT_EQ(state.ReleaseY, 0.0f);
  EXPECT_FALSE(Item("StartSim")->isEnabled());
  EXPECT_EQ(Picture(), before);
  EXPECT_EQ(ended->count(), 0);
}

TEST_F(MainWindowTest, SaveImageNames) {
  auto save = [this](std::optional<std::string> answer) {
    dialogs.Answer(std::move(answer));
    Choose("SaveImage");
  };
  const auto& dir = lake.Path();
  save("map");
  EXPECT_TRUE(std::filesystem::exists(dir / "map.bmp"));
  std::filesystem::remove(dir / "map.bmp");
  save("map.bmp");
  EXPECT_TRUE(std::filesystem::exists(dir / "map.bmp"));
  EXPECT_FALSE(std::filesystem::exists(dir / "map.bmp.bmp"));
  save("MAP.BMP");
  EXPECT_TRUE(std::filesystem::exists(dir / "MAP.BMP.bmp"));
  EXPECT_TRUE(dialogs.Messages().empty());
  EXPECT_EQ(dialogs.Questions().back().prompt, "Enter bitmap image file name:");
  EXPECT_EQ(dialogs.Questions().back().title, "Save Image");

  const auto before =
      std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator());
  save(std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(dir / ".bmp"));
  save("no-such-folder/map");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()),
            before);
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_NE(dialogs.Messages()[0].text.find("no-such-folder/map.bmp"), std::string::npos);

  const QImage saved(QString::fromStdString((dir / "map.bmp").string()), "BMP");
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), Picture().convertToFormat(QImage::Format_RGB32));
}

TEST_F(MainWindowTest, SavedPictureOfARunShowsCoastDiscAndTracks) {
  // A seeded run: from the clock, the tracks can now and then cover the disc.
  window->SetRunSeed(kPictureRunSeed);
  ParametersContinue();
  Release("3", "3");
  Choose("StartSim");
  dialogs.Answer("run");
  Choose("SaveImage");
  const QImage saved(QString::fromStdString((lake.Path() / "run.bmp").string()), "BMP");
  ASSERT_FALSE(saved.isNull());
  const PixelPoint coast = PixelOf(0, 9);  // the western shore, far from the release
  EXPECT_GT(test::CountNear(saved, coast.x, coast.y, 1, kCoast), 0);
  const PixelPoint island = PixelOf(5, 6);  // the island's northern shore
  EXPECT_GT(test::CountNear(saved, island.x, island.y, 1, kCoast), 0);
  const PixelPoint release = PixelOf(3, 3);
  EXPECT_GT(test::CountNear(saved, release.x, release.y, 4, kDisc), 0);
  EXPECT_GT(test::CountColour(saved, kTrack), 50);
  EXPECT_EQ(test::CountColour(Picture(), kTrack), test::CountColour(saved, kTrack));
}

TEST_F(MainWindowTest, ZoomScrollAndResizeRedrawTheView) {
  const float fullWidth = window->Picture().ScaleWidth();
  const float fullLeft = window->Picture().ScaleLeft();
  Choose("ZoomIn");
  EXPECT_EQ(state.Magnification, 2.0f);
  EXPECT_FLOAT_EQ(window->Picture().ScaleWidth(), fullWidth / 2);
  EXPECT_EQ(window->Picture().ScaleLeft(), fullLeft);
  Choose("ZoomOut");
  Choose("ZoomOut");
  EXPECT_EQ(state.Magnification, 0.5f);

  // The bars span 0..32767 in steps of 50 and 500.
  QScrollBar* h = Bar("HScroll1");
  QScrollBar* v = Bar("VScroll1");
  EXPECT_EQ(h->maximum(), 32767);
  EXPECT_EQ(v->pageStep(), 500);
  EXPECT_EQ(h->singleStep(), 50);
  EXPECT_EQ(test::CountColour(Picture(), kLabelBox), 0);
  h->setValue(h->maximum());
  // Right edge of the view at MapXMin + 1.2 MapSize.
  EXPECT_NEAR(window->Picture().ScaleLeft() + window->Picture().ScaleWidth(),
              state.MapXMin + 1.2 * state.MapSize, 1e-4);
  EXPECT_GT(test::CountColour(Picture(), kLabelBox), 0);  // the boxed label
  v->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(v->value(), 500);

  // The bars stay along the bottom and right edges of the client area.
  const QWidget* client = window->centralWidget();
  EXPECT_EQ(h->geometry().bottom(), client->height() - 1);
  EXPECT_EQ(v->geometry().right(), client->width() - 1);

  window->resize(500, 420);
  QApplication::processEvents();
  EXPECT_EQ(Picture().size(), client->size());
  EXPECT_EQ(state.Magnification, 1.0f);
  EXPECT_FLOAT_EQ(window->Picture().ScaleWidth(), fullWidth);
  EXPECT_EQ(h->value(), h->maximum());  // the bars keep their values
  EXPECT_EQ(h->geometry().bottom(), client->height() - 1);
  EXPECT_EQ(v->geometry().right(), client->width() - 1);

  const QSize before = Picture().size();
  window->resize(40, 30);  // too small for the bars: nothing is laid out
  QApplication::processEvents();
  EXPECT_EQ(Picture().size(), before);
}

// A finished run's picture comes back at every redraw of the view, until
// an animation (or the next run) starts.
TEST_F(MainWindowTest, FinishedRunStaysThroughZoomAndResizeUntilAnAnimation) {
  const QColor labelBox(192, 192, 192);
  ParametersContinue();
  Release("3", "3");
  state.ParticleCount = 5;  // too few tracks to hide the disc
  Choose("StartSim");
  const int tracks = test::CountColour(Picture(), kTrack);
  ASSERT_GT(tracks, 20);
  auto showsTheRun = [&](const char* when) {
    SCOPED_TRACE(when);
    // The disc, 0.008 of the width in radius, with tracks over its middle.
    const PixelPoint release = PixelOf(3, 3);
    const int discRadius = static_cast<int>(0.008 * Picture().width()) + 1;
    EXPECT_GT(test::CountNear(Picture(), release.x, release.y, discRadius, kDisc), 0);
    EXPECT_GT(test::CountColour(Picture(), kTrack), 20);
    EXPECT_GT(test::CountColour(Picture(), labelBox), 0);
  };
  Choose("ZoomIn");
  Choose("ZoomOut");  // the view of the run again: the same tracks
  EXPECT_EQ(test::CountColour(Picture(), kTrack), tracks);
  showsTheRun("zoomed in and out");
  const PixelPoint release = PixelOf(3, 3);
  QWheelEvent wheel(QPointF(release.x, release.y), QPointF(), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(window->centralWidget(), &wheel);
  showsTheRun("zoomed in about the release point");
  window->resize(520, 480);
  QApplication::processEvents();
  showsTheRun("resized");
  Bar("VScroll1")->setValue(200);
  showsTheRun("scrolled");

  state.FrameCount = 1;
  state.FramePeriod = 0.01f;
  Choose("AnimFlow");
  Choose("ZoomOut");  // a view that holds the whole lake: no track is left
  EXPECT_EQ(test::CountColour(Picture(), kTrack), 0);
}

// The wheel zooms by 2 about the pointer and a left drag pans; both keep
// the scroll bars in step with the view.
TEST_F(MainWindowTest, WheelZoomsAboutThePointerAndDragPans) {
  QWidget* picture = window->centralWidget();
  const QPointF at(picture->width() * 0.3, picture->height() * 0.6);
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  window->Picture().Transform().ToWorld(at.x(), at.y(), x0, y0);
  QWheelEvent wheel(at, picture->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(picture, &wheel);
  EXPECT_EQ(state.Magnification, 2.0f);
  window->Picture().Transform().ToWorld(at.x(), at.y(), x1, y1);
  EXPECT_NEAR(x1, x0, 1e-3);
  EXPECT_NEAR(y1, y0, 1e-3);
  EXPECT_GT(test::CountColour(Picture(), kLabelBox), 0);  // the magnification label
  auto barsInStep = [&] {
    EXPECT_EQ(Bar("HScroll1")->value(), HorizontalScrollValue(window->Picture(), state, 0, 32767));
    EXPECT_EQ(Bar("VScroll1")->value(), VerticalScrollValue(window->Picture(), state, 0, 32767));
  };
  barsInStep();
  const float left = window->Picture().ScaleLeft();
  const QPoint from(200, 200), to(260, 230);
  QTest::mousePress(picture, Qt::LeftButton, Qt::NoModifier, from);
  QMouseEvent move(QEvent::MouseMove, to, picture->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(picture, &move);
  QTest::mouseRelease(picture, Qt::LeftButton, Qt::NoModifier, to);
  EXPECT_FLOAT_EQ(
      window->Picture().ScaleLeft(),
      left - 60.0f * window->Picture().ScaleWidth() / static_cast<float>(window->Picture().PixelWidth()));
  barsInStep();
}

// A double-click on the water sets the release point as the two boxes
// would, once Select Point is available; on land it is refused the same way.
TEST_F(MainWindowTest, DoubleClickSetsTheReleasePointOnTheWater) {
  QWidget* picture = window->centralWidget();
  auto doubleClick = [&](double x, double y) {
    const PixelPoint p = PixelOf(x, y);
    QTest::mouseDClick(picture, Qt::LeftButton, Qt::NoModifier,
                       QPoint(static_cast<int>(p.x), static_cast<int>(p.y)));
  };
  doubleClick(3, 3);
  EXPECT_EQ(state.ReleaseX, 0.0);  // Select Point is not available yet
  ParametersContinue();
  doubleClick(5, 5);  // the island
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_EQ(dialogs.Messages()[0].text, "Release Point is not in the lake, Repeat enter, please... ");
  EXPECT_EQ(dialogs.Messages()[0].title, "Release point");
  EXPECT_FALSE(Item("StartSim")->isEnabled());
  doubleClick(3, 7);
  EXPECT_NEAR(state.ReleaseX, 3.0, 0.05);
  EXPECT_NEAR(state.ReleaseY, 7.0f, 0.05);
  EXPECT_TRUE(Item("StartSim")->isEnabled());
  const PixelPoint centre = PixelOf(state.ReleaseX, state.ReleaseY);
  EXPECT_GT(test::CountNear(Picture(), centre.x, centre.y, 1, kDisc), 0);
  EXPECT_EQ(dialogs.Questions().size(), 0u);
}

TEST_F(MainWindowTest, FitToScreenOnlyInNormalState) {
  const QRect screen = window->screen()->geometry();
  window->resize(300, 200);
  window->move(10, 10);
  Choose("Fit_to_screen");
  QApplication::processEvents();
  EXPECT_EQ(window->frameGeometry().height(), screen.height());
  EXPECT_EQ(window->frameGeometry().width(), screen.height());
  EXPECT_EQ(window->frameGeometry().left(), (screen.width() - screen.height()) / 2);
  EXPECT_EQ(window->frameGeometry().top(), 0);
  EXPECT_EQ(state.Magnification, 1.0f);

  window->showMaximized();
  QApplication::processEvents();
  const QRect maximised = window->geometry();
  Choose("Fit_to_screen");
  QApplication::processEvents();
  EXPECT_EQ(window->geometry(), maximised);
}

TEST_F(MainWindowTest, RunOrAnimationWhileOneRunsIsRefusedViewStillWorks) {
  ParametersContinue();
  Release("3", "3");
  bool checked = false;
  QTimer::singleShot(0, window.get(), [&] {
    ASSERT_TRUE(window->IsBusy());
    Choose("StartSim");
    // A nested run would have ended and greyed Start Simulation already.
    EXPECT_TRUE(Item("StartSim")->isEnabled());
    state.FrameCount = 1;
    state.FramePeriod = 5;
    QElapsedTimer clock;
    clock.start();
    Choose("AnimFlow");
    EXPECT_LT(clock.elapsed(), 2000);  // no animation frame was waited for
    const float width = window->Picture().ScaleWidth();
    Choose("ZoomIn");
    EXPECT_FLOAT_EQ(window->Picture().ScaleWidth(), width / 2);
    EXPECT_EQ(test::OpenHandlesTo("tanws.fld"), 1);
    checked = true;
  });
  Choose("StartSim");
  EXPECT_TRUE(checked);
  EXPECT_FALSE(Item("StartSim")->isEnabled());
}

TEST_F(MainWindowTest, AnimationPlaysFramesAndWaitsBetweenThem) {
  ParametersContinue();
  state.FrameCount = 3;
  state.FramePeriod = 0.2f;
  QElapsedTimer clock;
  clock.start();
  Choose("AnimFlow");
  EXPECT_GE(clock.elapsed(), 3 * 200 - 20);
  EXPECT_FALSE(window->IsBusy());
  EXPECT_EQ(state.VectorsShown, 1);
  EXPECT_GT(state.MaxSpeed, 0);
  EXPECT_EQ(test::OpenHandlesTo("tanws.fld"), 0);
  EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(MainWindowTest, MissingFlowFileIsReported) {
  std::filesystem::remove(lake.Path() / "tanws.fld");
  ParametersContinue();
  Choose("AnimFlow");
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_NE(dialogs.Messages()[0].text.find("tanws.fld"), std::string::npos);
  Release("3", "3");
  Choose("StartSim");
  ASSERT_EQ(dialogs.Messages().size(), 2u);
  EXPECT_NE(dialogs.Messages()[1].text.find("tanws.fld"), std::string::npos);
  EXPECT_FALSE(window->IsBusy());
  EXPECT_TRUE(Item("StartSim")->isEnabled());  // refused: the release point still stands
}

TEST_F(MainWindowTest, ExitDuringRunEndsAtOnceAndClosesTheFlowFile) {
  ParametersContinue();
  Choose("EntParamValues");  // leave the parameter dialog open
  Release("3", "3");
  int stepsSeen = 0;
  QTimer::singleShot(0, window.get(), [&] {
    stepsSeen = 1;
    EXPECT_EQ(test::OpenHandlesTo("tanws.fld"), 1);
    Choose("Exit");
  });
  Choose("StartSim");
  EXPECT_EQ(stepsSeen, 1);
  EXPECT_EQ(ended->count(), 1);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->ParameterDialog()->isVisible());
  EXPECT_FALSE(window->IsBusy());
  EXPECT_EQ(test::OpenHandlesTo("tanws.fld"), 0);
  // The run stopped: Start Simulation was never greyed by a run end.
  EXPECT_TRUE(Item("StartSim")->isEnabled());
}

TEST_F(MainWindowTest, ClosingDuringAnimationEndsAtOnce) {
  ParametersContinue();
  state.FramePeriod = 10;
  QTimer::singleShot(50, window.get(), [&] { window->close(); });
  QElapsedTimer clock;
  clock.start();
  Choose("AnimFlow");
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_EQ(ended->count(), 1);
  EXPECT_EQ(ended->at(0).at(0).toInt(), 0);
  EXPECT_EQ(test::OpenHandlesTo("tanws.fld"), 0);
}

TEST_F(MainWindowTest, AboutBoxText) {
  Choose("About");
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  const auto& about = dialogs.Messages()[0];
  EXPECT_EQ(about.title, "About This Program");
  EXPECT_EQ(about.icon, MessageIcon::Information);
  const QStringList lines = QString::fromStdString(about.text).split('\n');
  ASSERT_EQ(lines.size(), 7);
  EXPECT_EQ(lines[0], "PARTICLE TRACKING");
  EXPECT_EQ(lines[1], " Windows Version 1.0");
  EXPECT_FALSE(about.text.find('\r') != std::string::npos);
  for (const QString& line : lines) EXPECT_FALSE(line.isEmpty());
}

TEST_F(MainWindowTest, PrintCancelledOrToPdf) {
  dialogs.AnswerPrint(false);
  Choose("Print");
  EXPECT_EQ(dialogs.PrintDialogsShown(), 1);
  const auto pdf = lake.Path() / "picture.pdf";
  dialogs.AnswerPrint(true, [&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
  });
  Choose("Print");
  EXPECT_TRUE(std::filesystem::exists(pdf));
  EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
  EXPECT_TRUE(dialogs.Messages().empty());

  dialogs.AnswerPrint(true, [&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((lake.Path() / "none" / "p.pdf").string()));
  });
  Choose("Print");
  EXPECT_EQ(dialogs.Messages().size(), 1u);
}

class MainWindowLoadFailureTest : public ::testing::Test {};

TEST_F(MainWindowLoadFailureTest, MissingGeometryEndsTheProgramAfterItsMessage) {
  test::LakeFolder lake("main_window_no_geometry", {}, false);
  ModelState state;
  state.Region = 1;
  ScriptedDialogs dialogs;
  Drelvan window(state, dialogs);
  QSignalSpy ended(&window, &Drelvan::ProgramEnded);
  EXPECT_FALSE(window.Form_Load());
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_EQ(dialogs.Messages()[0].text, "Topology data file not found ! Execution terminating... ");
  ASSERT_EQ(ended.count(), 1);
  EXPECT_NE(ended.at(0).at(0).toInt(), 0);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowLoadFailureTest, MalformedGeometryShowsTheReadersMessage) {
  test::LakeFolder lake("main_window_bad_geometry", {}, false);
  test::WriteTextFile(lake.Path() / "geomtan.inp", "1\n4\n4 2 3 4\n1 1 2 x\n");
  ModelState state;
  state.Region = 1;
  ScriptedDialogs dialogs;
  Drelvan window(state, dialogs);
  QSignalSpy ended(&window, &Drelvan::ProgramEnded);
  EXPECT_FALSE(window.Form_Load());
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_NE(dialogs.Messages()[0].text.find("geomtan.inp"), std::string::npos);
  EXPECT_EQ(ended.count(), 1);
}

}  // namespace
}  // namespace lakedrift
