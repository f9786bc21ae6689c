#include "ui/UiSupport.h"

#include "ui/Form1.h"

namespace lakedrift {
namespace {

class Form1Test : public ::testing::Test {
 protected:
  Form1Test() : form(state, dialogs), ended(&form, &Form1::ProgramEnded) { form.show(); }

  ModelState state;
  test::ScriptedDialogs dialogs;
  Form1 form;
  QSignalSpy ended;
};

TEST_F(Form1Test, PictureIsStoredWithTheWindowNotReadFromTheWorkingFolder) {
  // Started in an empty folder, the window still shows its 230 × 145
  // picture of the lake (what it shows is the generator's to test).
#ifndef LAKEDRIFT_STARTUP_PICTURE
  GTEST_SKIP() << "built without the sample-data generator, which draws the picture";
#endif
  std::filesystem::current_path(test::FreshOutputDir("form1_empty_folder"));
  EXPECT_EQ(Form1(state, dialogs).findChild<QLabel*>("Image1")->pixmap().size(), QSize(230, 145));
}

// Closing before Continue ends the program.
TEST_F(Form1Test, ClosingEndsTheProgram) {
  form.close();
  EXPECT_EQ(ended, QList<QVariantList>{{0}}) << "not ended once, with status 0";
}

// Each button writes its own choice, the groups apart; Continue opens the
// main window on the flow file of the choices, and its close ends the program.
TEST_F(Form1Test, EveryButtonWritesItsChoiceAndContinueOpensTheMainWindow) {
  // clang-format off
  const struct { int option, region, season, flow; } clicks[] = {
      {3, 3, 1, 1}, {5, 3, 2, 1}, {7, 3, 2, 2}, {2, 2, 2, 2}, {4, 2, 1, 2}, {6, 2, 1, 1}, {1, 1, 1, 1}, {5, 1, 2, 1}, {7, 1, 2, 2}};
  // clang-format on
  for (const auto& c : clicks) {
    form.findChild<QRadioButton*>(QString("Option%1").arg(c.option))->click();
    EXPECT_EQ(std::tuple(int{state.Region}, int{state.Season}, int{state.FlowType}),
              std::tuple(c.region, c.season, c.flow))
        << "Option" << c.option;
  }
  test::EnterLakeFolder("form1_continue", {"tanda.fld"});
  QTest::mouseClick(form.findChild<QPushButton*>("Command1"), Qt::LeftButton);
  ASSERT_NE(form.MainWindow(), nullptr);
  EXPECT_EQ(std::tuple(form.isVisible(), form.MainWindow()->isVisible(), state.FlowFileName, ended.count()),
            std::tuple(false, true, "tanda.fld", 0))
      << "the form shown, the main window not shown, the wrong flow file or the program ended";
  form.MainWindow()->close();
  EXPECT_EQ(ended.count(), 1) << "closing the main window did not end the program";
}

// A geometry file that cannot be read (none, or malformed) ends the
// program after one message naming what is wrong.
TEST(Form1GeometryTest, ContinueEndsTheProgramAfterOneMessage) {
  // clang-format off
  for (auto [text, message] : {std::pair<const char*, const char*>(nullptr, "Topology data file not found ! Execution terminating... "),
                               std::pair("1\n4\n4 2 3 4\n1 1 2 x\n", "geomtan.inp")}) {
    // clang-format on
    const auto lake = test::EnterLakeFolder("form1_geometry_" + std::to_string(text != nullptr), {}, false);
    if (text != nullptr) test::WriteTextFile(lake / "geomtan.inp", text);
    ModelState state;
    test::ScriptedDialogs dialogs;
    Form1 form(state, dialogs);
    QSignalSpy ended(&form, &Form1::ProgramEnded);
    form.findChild<QPushButton*>("Command1")->click();
    EXPECT_TRUE(dialogs.messages.size() == 1 && dialogs.messages[0].find(message) != std::string::npos);
    EXPECT_TRUE(ended.count() == 1 && ended.at(0).at(0).toInt() != 0)
        << "not ended once, with a failure status";
    EXPECT_FALSE(form.MainWindow()->isVisible());
  }
}

}  // namespace
}  // namespace lakedrift
