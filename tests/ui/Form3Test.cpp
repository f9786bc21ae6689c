#include "ui/UiSupport.h"

#include "model/RunParameters.h"

namespace lakedrift {
namespace {

// The parameter dialog's boxes and bars reach the state; the rules that
// turn texts and positions into values are the model's.
class Form3Test : public ::testing::Test {
 protected:
  Form3Test() : dialog(state) { dialog.show(); }

  QLineEdit* Text(int n) { return dialog.findChild<QLineEdit*>(QString("Text%1").arg(n)); }
  QScrollBar* Bar(int n) { return dialog.findChild<QScrollBar*>(QString("HScroll%1").arg(n)); }
  // Replaces a box's text key by key, as a user would.
  void Type(int n, const char* text) { Text(n)->selectAll(), QTest::keyClicks(Text(n), text); }

  ModelState state;
  FORM3 dialog;
};

// Typing stores at once and moves no bar; a dragged bar acts when let go,
// showing its text and storing it. The rows: a box and its bar (n), the
// value they set, a typed text and its value, and a bar position with the
// text and value it gives.
TEST_F(Form3Test, BoxAndBarReachTheirOwnValue) {
  // clang-format off
  const struct { const char* name; int n; double (*value)(const ModelState&); const char* typed; double typedValue; int position; const char* positionText; double positionValue; } rows[] = {
      {"vector scale", 1, [](const ModelState& s) { return s.VectorScale; }, "0.5", 0.5, 10, "0.1", 0.1},
      {"frames", 2, [](const ModelState& s) { return static_cast<double>(s.FrameCount); }, "12", 12, 7, "7", 7},
      {"speed", 3, [](const ModelState& s) { return static_cast<double>(s.FramePeriod); }, "2", 0.5, 100, "5", 0.2},
      {"particles", 4, [](const ModelState& s) { return s.ParticleCount; }, "12.7", 12.7, 200, "200", 200},
      {"diffusion", 6, [](const ModelState& s) { return s.DiffusionCoef; }, "2.5", 2.5, 7, "0.07", 0.07}};
  // clang-format on
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QScrollBar* bar = Bar(row.n);
    const int before = bar->value();
    Type(row.n, row.typed);
    EXPECT_EQ(bar->value(), before) << "typing moved the bar";
    bar->setSliderDown(true);
    bar->setSliderPosition(row.position);
    EXPECT_TRUE(row.value(state) == row.typedValue && Text(row.n)->text() == row.typed)
        << "not typed, or changed before the bar was let go";
    bar->setSliderDown(false);
    EXPECT_EQ(Text(row.n)->text(), row.positionText);
    EXPECT_NEAR(row.value(state), row.positionValue, 1e-6);
  }
}

// Opening writes nothing; the close box only hides; Continue hides and
// announces; the dialog reopens with its last values.
TEST_F(Form3Test, ContinueHidesAndAnnouncesCloseBoxOnlyHidesBarReadsBack) {
  EXPECT_TRUE(state.VectorScale == 0.0 && state.FrameCount == 0) << "opening wrote values";
  QSignalSpy continued(&dialog, &FORM3::Continued);
  Type(4, "7");
  dialog.close();
  EXPECT_EQ(std::pair(dialog.isVisible(), continued.count()), std::pair(false, qsizetype{0}));
  dialog.show();
  EXPECT_EQ(Text(4)->text(), "7");
  QTest::mouseClick(dialog.findChild<QPushButton*>("Command2"), Qt::LeftButton);
  EXPECT_EQ(std::tuple(dialog.isVisible(), continued.count(), state.ParticleCount),
            std::tuple(false, qsizetype{1}, 7.0));

  // The box already shows "0" when the bar reaches 0 again: the read-back
  // must still replace the bar's value 0.
  Type(1, "0");
  Bar(1)->setValue(5);
  Text(1)->setText("0");
  state.VectorScale = 0.5;
  Bar(1)->setValue(0);
  EXPECT_EQ(state.VectorScale, DefaultRunParameters().VectorScale);
}

}  // namespace
}  // namespace lakedrift
