#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <vector>

#include "model/ModelState.h"
#include "support/TestPaths.h"
#include "ui/Drelvan.h"
#include "ui/Form1.h"
#include "ui/ScriptedDialogs.h"
#include "ui/UiSupport.h"
#include "ui/WavePlayer.h"

namespace lakedrift {
namespace {

class Form1Test : public ::testing::Test {
 protected:
  Form1Test() : form(state, dialogs), ended(&form, &Form1::ProgramEnded) {}

  QRadioButton* Option(int n) { return form.findChild<QRadioButton*>(QString("Option%1").arg(n)); }
  QCheckBox* Music() { return form.findChild<QCheckBox*>("Check1"); }
  WavePlayer* Player() { return form.findChild<WavePlayer*>("MMControl1"); }

  ModelState state;
  test::ScriptedDialogs dialogs;
  Form1 form;
  QSignalSpy ended;
};

TEST_F(Form1Test, LoadWritesDefaultsSizesAndCentres) {
  EXPECT_EQ(form.windowTitle(), "Startup");
  EXPECT_EQ(state.Region, 1);
  EXPECT_EQ(state.Season, 1);
  EXPECT_EQ(state.FlowType, 1);
  EXPECT_EQ(state.RegionTitle, "LAKE TANGANYIKA");
  EXPECT_TRUE(Option(1)->isChecked());
  EXPECT_TRUE(Option(4)->isChecked());
  EXPECT_TRUE(Option(6)->isChecked());
  const QRect screen = form.screen()->geometry();
  EXPECT_EQ(form.width(), static_cast<int>(0.85 * screen.width()));
  EXPECT_EQ(form.height(), static_cast<int>(0.8 * screen.height()));
  EXPECT_EQ(form.x(), (screen.width() - form.width()) / 2);
  EXPECT_EQ(form.y(), (screen.height() - form.height()) / 2);
  EXPECT_FALSE(Player()->isVisibleTo(&form));
}

TEST_F(Form1Test, CaptionsOfFramesAndButtons) {
  const char* captions[] = {"Lake Tanganyika",
                            "River Malagarasi region",
                            "River Lufubu region",
                            "Wet season (2-8.04.1997)",
                            "Dry season (22-28.08.1997)",
                            "Surface flow",
                            "Depth-averaged"};
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(Option(n)->text(), captions[n - 1]);
  EXPECT_EQ(form.findChild<QGroupBox*>("Frame1")->title(), "Select lake region");
  EXPECT_EQ(form.findChild<QGroupBox*>("Frame2")->title(), "Select time : wind scenario");
  EXPECT_EQ(form.findChild<QGroupBox*>("Frame3")->title(), "Select flow field");
  EXPECT_EQ(Music()->text(), "Play music");
  EXPECT_EQ(form.findChild<QPushButton*>("Command1")->text(), "Continue");
}

TEST(Form1Picture, IsStoredWithTheWindowNotReadFromTheWorkingFolder) {
  // Started in an empty folder, the window still shows its 230 × 145
  // picture of the lake, which runs north–south down its west part.
#ifndef LAKEDRIFT_STARTUP_PICTURE
  GTEST_SKIP() << "built without the sample-data generator, which draws the picture";
#endif
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(test::FreshOutputDir("form1_empty_folder").string())));
  ModelState state;
  test::ScriptedDialogs dialogs;
  Form1 form(state, dialogs);
  QDir::setCurrent(before);
  const QImage picture = form.findChild<QLabel*>("Image1")->pixmap().toImage();
  ASSERT_EQ(picture.size(), QSize(230, 145));
  int top = picture.height(), bottom = -1, east = -1;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      if (c.blue() <= c.red() + 60) continue;  // not water
      top = std::min(top, y), bottom = std::max(bottom, y), east = std::max(east, x);
    }
  }
  EXPECT_GT(bottom - top, picture.height() * 3 / 4);
  EXPECT_LT(east, picture.width() / 2);
}

TEST_F(Form1Test, BackgroundColourOnlyOnTheWindowItself) {
  form.show();
  const QImage shot = form.grab().toImage();
  // The empty room at the bottom right shows the random colour ...
  EXPECT_EQ(shot.pixelColor(shot.width() - 5, shot.height() - 5).rgb(), form.BackgroundColour().rgb());
  // ... while a frame keeps the system colour.
  QGroupBox* frame = form.findChild<QGroupBox*>("Frame2");
  const QPoint inside = frame->mapTo(&form, QPoint(frame->width() - 4, frame->height() - 4));
  // (The style shades a frame's inside a little.)
  const QColor system = QApplication::palette().color(QPalette::Window);
  const QColor seen = shot.pixelColor(inside);
  EXPECT_NEAR(seen.red(), system.red(), 8);
  EXPECT_NEAR(seen.green(), system.green(), 8);
  EXPECT_NEAR(seen.blue(), system.blue(), 8);
  EXPECT_EQ(form.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));
}

TEST_F(Form1Test, EveryClickWritesItsChoice) {
  Option(3)->click();
  EXPECT_EQ(state.Region, 3);
  EXPECT_EQ(state.RegionTitle, "SOUTH PART OF LAKE TANGANYIKA");
  Option(2)->click();
  EXPECT_EQ(state.Region, 2);
  EXPECT_EQ(state.RegionTitle, "RIVER MALAGARASI REGION");
  Option(5)->click();
  Option(7)->click();
  EXPECT_EQ(state.Season, 2);
  EXPECT_EQ(state.FlowType, 2);
  Option(4)->click();
  Option(6)->click();
  EXPECT_EQ(state.Season, 1);
  EXPECT_EQ(state.FlowType, 1);
  // Clicking the selected button writes its values again.
  state.Region = 0;
  state.RegionTitle.clear();
  Option(2)->click();
  EXPECT_EQ(state.Region, 2);
  EXPECT_EQ(state.RegionTitle, "RIVER MALAGARASI REGION");
  EXPECT_EQ(state.Season, 1);  // the groups are independent
}

TEST_F(Form1Test, MusicBoxShowsPlayerAndClearsWhenPlayerIsDone) {
  form.show();
  Music()->click();
  EXPECT_TRUE(Player()->isVisible());
  emit Player()->Done();
  EXPECT_FALSE(Music()->isChecked());
  EXPECT_TRUE(Player()->isVisible());  // clearing does not hide it
  // No music file here: the buttons offer nothing, and nothing fails.
  EXPECT_FALSE(Player()->findChild<QToolButton*>("Play")->isEnabled());
  Player()->Play();
  Player()->Stop();
  EXPECT_FALSE(Music()->isChecked());
}

TEST_F(Form1Test, ClosingBeforeContinueEndsTheProgram) {
  form.show();
  form.close();
  ASSERT_EQ(ended.count(), 1);
  EXPECT_EQ(ended.at(0).at(0).toInt(), 0);
}

TEST_F(Form1Test, ContinueHidesAndOpensMainWindowWithTheChoices) {
  test::LakeFolder lake("form1_continue", {"tanda.fld"});
  form.show();
  Option(5)->click();
  Option(7)->click();
  QTest::mouseClick(form.findChild<QPushButton*>("Command1"), Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
  ASSERT_NE(form.MainWindow(), nullptr);
  EXPECT_TRUE(form.MainWindow()->isVisible());
  EXPECT_EQ(state.FlowFileName, "tanda.fld");
  EXPECT_EQ(ended.count(), 0);
  form.MainWindow()->close();  // the main window's close ends everything
  EXPECT_EQ(ended.count(), 1);
}

TEST_F(Form1Test, ContinueFromTheKeyboard) {
  test::LakeFolder lake("form1_keyboard");
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  // The region group has the focus; Tab goes through the season and flow
  // groups and the music box to Continue; Enter presses it.
  auto* command1 = form.findChild<QPushButton*>("Command1");
  const std::vector<QWidget*> chain = {Option(1), Option(4), Option(6), Music(), command1};
  for (QWidget* expected : chain) {
    ASSERT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
    if (expected != command1) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  QTest::keyClick(command1, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
  ASSERT_NE(form.MainWindow(), nullptr);
  EXPECT_TRUE(form.MainWindow()->isVisible());
  EXPECT_EQ(state.Region, 1);  // the keys changed no choice
  EXPECT_EQ(state.Season, 1);
  form.MainWindow()->close();
}

TEST_F(Form1Test, ContinueWithoutGeometryEndsTheProgram) {
  test::LakeFolder lake("form1_no_geometry", {}, false);
  form.show();
  form.findChild<QPushButton*>("Command1")->click();
  ASSERT_EQ(ended.count(), 1);
  EXPECT_NE(ended.at(0).at(0).toInt(), 0);
  EXPECT_FALSE(form.MainWindow()->isVisible());
  ASSERT_EQ(dialogs.Messages().size(), 1u);
}

}  // namespace
}  // namespace lakedrift
