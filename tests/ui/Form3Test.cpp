#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "model/ModelState.h"
#include "model/RunParameters.h"
#include "ui/FORM3.h"

namespace lakedrift {
namespace {

class Form3Test : public ::testing::Test {
 protected:
  Form3Test() : dialog(state) { dialog.show(); }

  QLineEdit* Text(int n) { return dialog.findChild<QLineEdit*>(QString("Text%1").arg(n)); }
  QScrollBar* Bar(int n) { return dialog.findChild<QScrollBar*>(QString("HScroll%1").arg(n)); }
  // Replaces a box's text key by key, as a user would.
  void Type(int n, const char* text) {
    Text(n)->selectAll();
    QTest::keyClick(Text(n), Qt::Key_Delete);
    QTest::keyClicks(Text(n), text);
  }

  ModelState state;
  FORM3 dialog;
};

TEST_F(Form3Test, StartsWithDesignValuesWhateverTheStateHolds) {
  EXPECT_EQ(dialog.windowTitle(), "Select parameters");
  const int numbers[] = {1, 2, 3, 4, 6};
  const char* texts[] = {"0.05", "83", "1", "50", "0.1"};
  const int positions[] = {0, 1, 0, 1, 0};
  const char* captions[] = {"Vector's scaling factor:", "Number of frames:", "Animation Speed (Frame/Sec):",
                            "Number of particles:", "Horizontal diffusion coefficient (sq.m/s):"};
  for (int i = 0; i < 5; ++i) {
    const int n = numbers[i];
    ASSERT_NE(Text(n), nullptr) << n;
    EXPECT_EQ(Text(n)->text(), texts[i]);
    EXPECT_EQ(Bar(n)->value(), positions[i]);
    EXPECT_EQ(dialog.findChild<QLabel*>(QString("Label%1").arg(n))->text(), captions[i]);
  }
  EXPECT_EQ(Text(5), nullptr);
  EXPECT_EQ(dialog.findChild<QGroupBox*>("Frame1")->title(), "Drawing and animation parameters");
  EXPECT_EQ(dialog.findChild<QGroupBox*>("Frame2")->title(), "Simulation parameters");
  EXPECT_EQ(dialog.findChild<QPushButton*>("Command2")->text(), "Continue");
  // Nothing was written: the state keeps what it held.
  EXPECT_EQ(state.VectorScale, 0.0);
  EXPECT_EQ(state.FrameCount, 0);
}

TEST_F(Form3Test, VectorScaleBarBackAtZeroShowsZeroButStoresDefault) {
  Bar(1)->setValue(10);
  EXPECT_EQ(Text(1)->text(), "0.1");
  EXPECT_DOUBLE_EQ(state.VectorScale, static_cast<double>(0.1f));
  Bar(1)->setValue(0);
  EXPECT_EQ(Text(1)->text(), "0");
  EXPECT_EQ(state.VectorScale, DefaultRunParameters().VectorScale);
}

TEST_F(Form3Test, BarAtSameTextStillReadsBack) {
  // The box already shows "0" when the bar reaches 0 again: the read-back
  // must still replace the bar's value 0.
  Type(1, "0");
  Bar(1)->setValue(5);
  Text(1)->setText("0");
  state.VectorScale = 0.5;
  Bar(1)->setValue(0);
  EXPECT_EQ(state.VectorScale, DefaultRunParameters().VectorScale);
}

TEST_F(Form3Test, TypingStoresAtOnceAndNeverMovesABar) {
  // Each box reads by its own row's rule.
  Type(2, "3.5");
  EXPECT_EQ(state.FrameCount, 4);
  Type(4, "12.7");
  EXPECT_EQ(state.ParticleCount, 12.7);
  Type(6, "11");
  EXPECT_EQ(state.DiffusionCoef, 0.1);
  Type(1, "1.5");
  EXPECT_EQ(state.VectorScale, DefaultRunParameters().VectorScale);
  Type(3, "2");
  EXPECT_EQ(state.FramePeriod, 0.5f);
  EXPECT_EQ(Text(4)->text(), "12.7");  // the typed text stays
  EXPECT_EQ(Bar(1)->value(), 0);
  EXPECT_EQ(Bar(2)->value(), 1);
  EXPECT_EQ(Bar(3)->value(), 0);
  EXPECT_EQ(Bar(4)->value(), 1);
  EXPECT_EQ(Bar(6)->value(), 0);
}

TEST_F(Form3Test, SpeedBarOneStepFromZero) {
  Bar(3)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(Text(3)->text(), "0.149");
  EXPECT_FLOAT_EQ(state.FramePeriod, 1.0f / 0.149f);
  Bar(3)->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(Text(3)->text(), "5");
  EXPECT_FLOAT_EQ(state.FramePeriod, 0.2f);
}

TEST_F(Form3Test, DraggedThumbActsWhenReleased) {
  Type(4, "50");
  Bar(4)->setSliderDown(true);
  Bar(4)->setSliderPosition(200);
  EXPECT_EQ(state.ParticleCount, 50.0);
  EXPECT_EQ(Text(4)->text(), "50");
  Bar(4)->setSliderDown(false);
  EXPECT_EQ(state.ParticleCount, 200.0);
  EXPECT_EQ(Text(4)->text(), "200");
}

TEST_F(Form3Test, ContinueHidesAndAnnouncesCloseBoxOnlyHides) {
  QSignalSpy continued(&dialog, &FORM3::Continued);
  Type(4, "7");
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(continued.count(), 0);
  EXPECT_EQ(state.ParticleCount, 7.0);

  dialog.show();
  EXPECT_EQ(Text(4)->text(), "7");  // reopened with its last values
  QTest::mouseClick(dialog.findChild<QPushButton*>("Command2"), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(continued.count(), 1);
  EXPECT_EQ(state.ParticleCount, 7.0);
}

}  // namespace
}  // namespace lakedrift
