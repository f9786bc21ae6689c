#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "model/ModelState.h"
#include "ui/Drelvan.h"
#include "ui/FORM3.h"
#include "ui/Form1.h"
#include "ui/ScriptedDialogs.h"
#include "ui/UiSupport.h"

namespace lakedrift {
namespace {

// A whole program run on the test lake: start-up window, parameters, a
// release point, a run, an animation, a saved picture and Exit.
TEST(EndToEndTest, FromStartupWindowToExit) {
  test::LakeFolder lake("end_to_end", {"tanda.fld"});
  ModelState state;
  test::ScriptedDialogs dialogs;
  Form1 startup(state, dialogs);
  QSignalSpy ended(&startup, &Form1::ProgramEnded);
  startup.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&startup));

  startup.findChild<QRadioButton*>("Option5")->click();  // dry season
  startup.findChild<QRadioButton*>("Option7")->click();  // depth-averaged
  QTest::mouseClick(startup.findChild<QPushButton*>("Command1"), Qt::LeftButton);
  Drelvan* main = startup.MainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
  auto item = [main](const char* name) { return test::FindAction(*main, name); };

  item("EntParamValues")->trigger();
  FORM3* parameters = main->ParameterDialog();
  auto* particles = parameters->findChild<QLineEdit*>("Text4");
  particles->selectAll();
  QTest::keyClicks(particles, "8");
  auto* frames = parameters->findChild<QLineEdit*>("Text2");
  frames->selectAll();
  QTest::keyClicks(frames, "2");
  auto* speed = parameters->findChild<QLineEdit*>("Text3");
  speed->selectAll();
  QTest::keyClicks(speed, "5");
  QTest::mouseClick(parameters->findChild<QPushButton*>("Command2"), Qt::LeftButton);
  EXPECT_EQ(state.ParticleCount, 8.0);
  EXPECT_EQ(state.FrameCount, 2);
  EXPECT_FLOAT_EQ(state.FramePeriod, 0.2f);

  dialogs.Answer("7");
  dialogs.Answer("2.5");
  item("SelectPoint")->trigger();
  EXPECT_EQ(state.ReleaseX, 7.0);
  EXPECT_EQ(state.ReleaseY, 2.5f);
  item("StartSim")->trigger();
  EXPECT_FALSE(item("StartSim")->isEnabled());
  const QImage afterRun = main->Picture().Image();
  EXPECT_GT(test::CountColour(afterRun, QColor(255, 0, 0)), 0);

  item("AnimFlow")->trigger();
  EXPECT_EQ(test::CountColour(main->Picture().Image(), QColor(255, 0, 0)), 0);  // tracks gone

  dialogs.Answer("final");
  item("SaveImage")->trigger();
  EXPECT_TRUE(std::filesystem::exists(lake.Path() / "final.bmp"));
  EXPECT_TRUE(dialogs.Messages().empty());

  item("Exit")->trigger();
  ASSERT_EQ(ended.count(), 1);
  EXPECT_EQ(ended.at(0).at(0).toInt(), 0);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(window->isVisible()) << window->windowTitle().toStdString();
  }
  EXPECT_EQ(test::OpenHandlesTo("tanda.fld"), 0);
}

}  // namespace
}  // namespace lakedrift
