#include <gtest/gtest.h>

#include "model/ModelState.h"
#include "model/ParameterRules.h"
#include "model/RunParameters.h"

namespace lakedrift {
namespace {

// A state whose parameters hold values no rule produces, so that every
// rule must write its row.
ModelState Marked() {
  ModelState state;
  state.VectorScale = -7;
  state.FrameCount = -7;
  state.FramePeriod = -7;
  state.ParticleCount = -7;
  state.DiffusionCoef = -7;
  return state;
}

double VectorScaleOf(const char* text) {
  ModelState state = Marked();
  ApplyRowText(state, ParameterRow::VectorScale, text);
  return state.VectorScale;
}

int FrameCountOf(const char* text) {
  ModelState state = Marked();
  ApplyRowText(state, ParameterRow::FrameCount, text);
  return state.FrameCount;
}

float PeriodOf(const char* text) {
  ModelState state = Marked();
  ApplyRowText(state, ParameterRow::AnimationSpeed, text);
  return state.FramePeriod;
}

double ParticlesOf(const char* text) {
  ModelState state = Marked();
  ApplyRowText(state, ParameterRow::ParticleCount, text);
  return state.ParticleCount;
}

double DiffusionOf(const char* text) {
  ModelState state = Marked();
  ApplyRowText(state, ParameterRow::DiffusionCoef, text);
  return state.DiffusionCoef;
}

TEST(ParameterRulesTest, VectorScaleReadsWholeTextInSinglePrecision) {
  const double kDefaultScale = DefaultRunParameters().VectorScale;
  EXPECT_EQ(VectorScaleOf("1"), 1.0);
  EXPECT_EQ(VectorScaleOf(" 0.5 "), 0.5);
  EXPECT_EQ(VectorScaleOf("0.3"), static_cast<double>(0.3f));  // rounded to single first
  EXPECT_EQ(VectorScaleOf("1.5"), kDefaultScale);
  EXPECT_EQ(VectorScaleOf("0"), kDefaultScale);
  EXPECT_EQ(VectorScaleOf("-0.5"), kDefaultScale);
  EXPECT_EQ(VectorScaleOf("abc"), kDefaultScale);
  EXPECT_EQ(VectorScaleOf("0.5x"), kDefaultScale);  // not wholly a number
  EXPECT_EQ(VectorScaleOf(""), kDefaultScale);
}

TEST(ParameterRulesTest, FrameCountRoundsLeadingNumberHalvesToEven) {
  EXPECT_EQ(FrameCountOf("2.5"), 2);
  EXPECT_EQ(FrameCountOf("3.5"), 4);
  EXPECT_EQ(FrameCountOf("0.6"), 1);
  EXPECT_EQ(FrameCountOf("83"), 83);
  EXPECT_EQ(FrameCountOf("12 frames"), 12);
  EXPECT_EQ(FrameCountOf("0"), 83);
  EXPECT_EQ(FrameCountOf("0.5"), 83);   // rounds to 0
  EXPECT_EQ(FrameCountOf("83.6"), 83);  // rounds to 84
  EXPECT_EQ(FrameCountOf("99999"), 83);
  EXPECT_EQ(FrameCountOf("1e300"), 83);  // far beyond 16 bits
  EXPECT_EQ(FrameCountOf("-3"), 83);
  EXPECT_EQ(FrameCountOf(""), 83);
}

TEST(ParameterRulesTest, SpeedReadsWholeTextAndStoresPeriod) {
  EXPECT_EQ(PeriodOf("2"), 0.5f);
  EXPECT_EQ(PeriodOf("5"), 1.0f / 5.0f);
  EXPECT_EQ(PeriodOf("0.1"), 1.0f / 0.1f);
  EXPECT_EQ(PeriodOf("0.5 "), 2.0f);
  EXPECT_EQ(PeriodOf("0"), 1.0f);  // refused before any division
  EXPECT_EQ(PeriodOf("0.09"), 1.0f);
  EXPECT_EQ(PeriodOf("5.1"), 1.0f);
  EXPECT_EQ(PeriodOf("2 fps"), 1.0f);
  EXPECT_EQ(PeriodOf(""), 1.0f);
}

TEST(ParameterRulesTest, ParticleCountKeepsLeadingNumberUnrounded) {
  EXPECT_EQ(ParticlesOf("12.7"), 12.7);
  EXPECT_EQ(ParticlesOf("1"), 1.0);
  EXPECT_EQ(ParticlesOf("500"), 500.0);
  EXPECT_EQ(ParticlesOf("20 particles"), 20.0);
  EXPECT_EQ(ParticlesOf("600"), 50.0);
  EXPECT_EQ(ParticlesOf("0.5"), 50.0);
  EXPECT_EQ(ParticlesOf("abc"), 50.0);  // reads as 0
  EXPECT_EQ(ParticlesOf(""), 50.0);
}

TEST(ParameterRulesTest, DiffusionAcceptsZeroToTen) {
  EXPECT_EQ(DiffusionOf("10"), 10.0);
  EXPECT_EQ(DiffusionOf("0"), 0.0);
  EXPECT_EQ(DiffusionOf(""), 0.0);  // an empty box reads as 0, which is valid
  EXPECT_EQ(DiffusionOf("abc"), 0.0);
  EXPECT_EQ(DiffusionOf("2.5m"), 2.5);
  EXPECT_EQ(DiffusionOf("11"), 0.1);
  EXPECT_EQ(DiffusionOf("10.0001"), 0.1);
  EXPECT_EQ(DiffusionOf("-1"), 0.1);
}

// A scroll change stores the position's value, shows its text, and the text
// is then read back by the row's own rule.
struct ScrollOutcome {
  std::string text;
  ModelState state;
};

ScrollOutcome Scroll(ParameterRow row, int position) {
  ScrollOutcome outcome{{}, Marked()};
  outcome.text = ApplyRowPosition(outcome.state, row, position);
  ApplyRowText(outcome.state, row, outcome.text);
  return outcome;
}

TEST(ParameterRulesTest, ScrollPositionsGiveTextsAndValues) {
  EXPECT_EQ(Scroll(ParameterRow::VectorScale, 25).text, "0.25");
  EXPECT_EQ(Scroll(ParameterRow::VectorScale, 25).state.VectorScale, static_cast<double>(0.25f));
  EXPECT_EQ(Scroll(ParameterRow::VectorScale, 100).state.VectorScale, 1.0);
  EXPECT_EQ(Scroll(ParameterRow::FrameCount, 83).text, "83");
  EXPECT_EQ(Scroll(ParameterRow::FrameCount, 7).state.FrameCount, 7);
  EXPECT_EQ(Scroll(ParameterRow::ParticleCount, 500).text, "500");
  EXPECT_EQ(Scroll(ParameterRow::ParticleCount, 500).state.ParticleCount, 500.0);
  EXPECT_EQ(Scroll(ParameterRow::DiffusionCoef, 7).text, "0.07");
  EXPECT_EQ(Scroll(ParameterRow::DiffusionCoef, 1000).text, "10");
  EXPECT_EQ(Scroll(ParameterRow::DiffusionCoef, 1000).state.DiffusionCoef, 10.0);
}

TEST(ParameterRulesTest, VectorScaleBarAtZeroShowsZeroButStoresDefault) {
  ModelState state = Marked();
  const std::string text = ApplyRowPosition(state, ParameterRow::VectorScale, 0);
  EXPECT_EQ(text, "0");
  EXPECT_EQ(state.VectorScale, 0.0);  // the bar's own value, before the read-back
  ApplyRowText(state, ParameterRow::VectorScale, text);
  EXPECT_EQ(state.VectorScale, DefaultRunParameters().VectorScale);
}

TEST(ParameterRulesTest, SpeedBarSpansTenthToFiveFramesPerSecond) {
  const ScrollOutcome slowest = Scroll(ParameterRow::AnimationSpeed, 0);
  EXPECT_EQ(slowest.text, "0.1");
  EXPECT_FLOAT_EQ(slowest.state.FramePeriod, 10.0f);
  const ScrollOutcome fastest = Scroll(ParameterRow::AnimationSpeed, 100);
  EXPECT_EQ(fastest.text, "5");
  EXPECT_FLOAT_EQ(fastest.state.FramePeriod, 0.2f);
  const ScrollOutcome oneStep = Scroll(ParameterRow::AnimationSpeed, 1);
  EXPECT_EQ(oneStep.text, "0.149");
  EXPECT_FLOAT_EQ(oneStep.state.FramePeriod, 1.0f / 0.149f);
}

// The row's own variable, as single precision for comparison.
float RowValue(const ModelState& state, ParameterRow row) {
  switch (row) {
    case ParameterRow::VectorScale:
      return static_cast<float>(state.VectorScale);
    case ParameterRow::FrameCount:
      return state.FrameCount;
    case ParameterRow::AnimationSpeed:
      return state.FramePeriod;
    case ParameterRow::ParticleCount:
      return static_cast<float>(state.ParticleCount);
    case ParameterRow::DiffusionCoef:
      return static_cast<float>(state.DiffusionCoef);
  }
  return 0;
}

TEST(ParameterRulesTest, ReadingBackABarsTextKeepsItsValueExceptVectorScaleZero) {
  for (ParameterRow row : kParameterRows) {
    const ParameterRowDesign& design = RowDesign(row);
    for (int p = design.minimum; p <= design.maximum; ++p) {
      if (row == ParameterRow::VectorScale && p == 0) continue;
      ModelState state = Marked();
      const std::string text = ApplyRowPosition(state, row, p);
      const float byBar = RowValue(state, row);
      ApplyRowText(state, row, text);
      ASSERT_FLOAT_EQ(RowValue(state, row), byBar) << design.caption << " at " << p;
    }
  }
}

}  // namespace
}  // namespace lakedrift
