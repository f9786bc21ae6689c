#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <tuple>
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
  Form1Test() : form(state, dialogs), ended(&form, &Form1::ProgramEnded) { form.show(); }

  QRadioButton* Option(int n) { return form.findChild<QRadioButton*>(QString("Option%1").arg(n)); }
  QCheckBox* Music() { return form.findChild<QCheckBox*>("Check1"); }
  QPushButton* Continue() { return form.findChild<QPushButton*>("Command1"); }

  ModelState state;
  test::ScriptedDialogs dialogs;
  Form1 form;
  QSignalSpy ended;
};

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
  const QImage shot = form.grab().toImage();
  EXPECT_EQ(shot.pixelColor(shot.width() - 5, shot.height() - 5).rgb(), form.BackgroundColour().rgb());
  // A frame keeps the system colour, which the style shades a little.
  QGroupBox* frame = form.findChild<QGroupBox*>("Frame2");
  const QColor system = QApplication::palette().color(QPalette::Window);
  const QColor seen = shot.pixelColor(frame->mapTo(&form, QPoint(frame->width() - 4, frame->height() - 4)));
  EXPECT_NEAR(seen.red(), system.red(), 8);
  EXPECT_NEAR(seen.green(), system.green(), 8);
  EXPECT_NEAR(seen.blue(), system.blue(), 8);
}

// Each button writes its own choice, the groups apart; Continue opens the
// main window on the flow file of the choices, and its close ends the program.
TEST_F(Form1Test, EveryButtonWritesItsChoiceAndContinueOpensTheMainWindow) {
  const struct {
    int option, region, season, flow;
  } clicks[] = {{3, 3, 1, 1}, {5, 3, 2, 1}, {7, 3, 2, 2}, {2, 2, 2, 2}, {4, 2, 1, 2}, {6, 2, 1, 1}, {1, 1, 1, 1},
                {5, 1, 2, 1}, {7, 1, 2, 2}};
  for (const auto& c : clicks) {
    Option(c.option)->click();
    EXPECT_EQ(std::tuple(int{state.Region}, int{state.Season}, int{state.FlowType}),
              std::tuple(c.region, c.season, c.flow))
        << "Option" << c.option;
  }
  test::LakeFolder lake("form1_continue", {"tanda.fld"});
  QTest::mouseClick(Continue(), Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
  ASSERT_NE(form.MainWindow(), nullptr);
  EXPECT_TRUE(form.MainWindow()->isVisible());
  EXPECT_EQ(state.FlowFileName, "tanda.fld");
  EXPECT_EQ(ended.count(), 0);
  form.MainWindow()->close();
  EXPECT_EQ(ended.count(), 1);
}

TEST_F(Form1Test, MusicBoxShowsPlayerAndClearsWhenPlayerIsDone) {
  auto* player = form.findChild<WavePlayer*>("MMControl1");
  EXPECT_FALSE(player->isVisible());
  Music()->click();
  EXPECT_TRUE(player->isVisible());
  emit player->Done();
  EXPECT_FALSE(Music()->isChecked());
}

TEST_F(Form1Test, ClosingBeforeContinueEndsTheProgram) {
  form.close();
  ASSERT_EQ(ended.count(), 1);
  EXPECT_EQ(ended.at(0).at(0).toInt(), 0);
}

TEST_F(Form1Test, ContinueFromTheKeyboard) {
  test::LakeFolder lake("form1_keyboard");
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  // The region group has the focus; Tab goes through the season and flow
  // groups and the music box to Continue; Enter presses it.
  const std::vector<QWidget*> chain = {Option(1), Option(4), Option(6), Music(), Continue()};
  for (QWidget* expected : chain) {
    ASSERT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
    if (expected != Continue()) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  QTest::keyClick(Continue(), Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
  ASSERT_NE(form.MainWindow(), nullptr);
  EXPECT_TRUE(form.MainWindow()->isVisible());
  EXPECT_EQ(state.FlowFileName, "tanws.fld");  // the keys changed no choice
  form.MainWindow()->close();
}

// A geometry file that cannot be read ends the program after one message.
struct GeometryFault {
  const char* name;
  const char* text;     // the file's text; none: no file
  const char* message;  // a part of the message
};
void PrintTo(const GeometryFault& row, std::ostream* os) { *os << row.name; }

class GeometryFaultTest : public Form1Test, public ::testing::WithParamInterface<GeometryFault> {};

TEST_P(GeometryFaultTest, ContinueEndsTheProgramAfterOneMessage) {
  test::LakeFolder lake(std::string("form1_geometry_") + GetParam().name, {}, false);
  if (GetParam().text != nullptr) test::WriteTextFile(lake.Path() / "geomtan.inp", GetParam().text);
  Continue()->click();
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_NE(dialogs.Messages()[0].text.find(GetParam().message), std::string::npos) << dialogs.Messages()[0].text;
  ASSERT_EQ(ended.count(), 1);
  EXPECT_NE(ended.at(0).at(0).toInt(), 0);
  EXPECT_FALSE(form.MainWindow()->isVisible());
}

const GeometryFault kGeometryFaults[] = {
    {"missing", nullptr, "Topology data file not found ! Execution terminating... "},
    {"malformed", "1\n4\n4 2 3 4\n1 1 2 x\n", "geomtan.inp"},
};
INSTANTIATE_TEST_SUITE_P(Geometry, GeometryFaultTest, ::testing::ValuesIn(kGeometryFaults),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lakedrift
