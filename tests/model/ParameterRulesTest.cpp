#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "model/ModelState.h"
#include "model/ParameterRules.h"
#include "model/RunParameters.h"

namespace lakedrift {
namespace {

// A state whose parameters hold values no rule produces, so that every
// rule must write its row.
ModelState Marked() {
  ModelState state;
  state.VectorScale = state.ParticleCount = state.DiffusionCoef = -7;
  state.FrameCount = -7;
  state.FramePeriod = -7;
  return state;
}

// The row's own variable.
double RowValue(const ModelState& state, ParameterRow row) {
  switch (row) {
    case ParameterRow::VectorScale:
      return state.VectorScale;
    case ParameterRow::FrameCount:
      return state.FrameCount;
    case ParameterRow::AnimationSpeed:
      return state.FramePeriod;
    case ParameterRow::ParticleCount:
      return state.ParticleCount;
    case ParameterRow::DiffusionCoef:
      return state.DiffusionCoef;
  }
  return 0;
}

struct TypedCase {
  ParameterRow row;
  const char* text;
  double stored;  // the value the row's variable then holds
};

class TypedText : public testing::TestWithParam<TypedCase> {};

// Faults: a rule reading the leading number where the whole text must be
// one (and the reverse), rounding wrong, a bound let through, a refused
// text not replaced by the row's default.
TEST_P(TypedText, IsStoredByTheRowsRule) {
  const TypedCase& c = GetParam();
  ModelState state = Marked();
  ApplyRowText(state, c.row, c.text);
  EXPECT_EQ(RowValue(state, c.row), c.stored) << RowDesign(c.row).caption << " \"" << c.text << '"';
}

constexpr auto kScale = ParameterRow::VectorScale;
constexpr auto kFrames = ParameterRow::FrameCount;
constexpr auto kSpeed = ParameterRow::AnimationSpeed;
constexpr auto kParticles = ParameterRow::ParticleCount;
constexpr auto kDiffusion = ParameterRow::DiffusionCoef;
const double kDefaultScale = DefaultRunParameters().VectorScale;

INSTANTIATE_TEST_SUITE_P(
    Rows, TypedText,
    testing::Values(
        // The vector scale: the whole text, rounded to single precision, in (0, 1].
        TypedCase{kScale, " 0.5 ", 0.5}, TypedCase{kScale, "0.3", static_cast<double>(0.3f)},
        TypedCase{kScale, "1e0", 1.0}, TypedCase{kScale, "+0.5", 0.5},
        TypedCase{kScale, "1.5", kDefaultScale}, TypedCase{kScale, "0", kDefaultScale},
        TypedCase{kScale, "0.5x", kDefaultScale}, TypedCase{kScale, "0,5", kDefaultScale},
        TypedCase{kScale, "", kDefaultScale},
        // The frame count: the leading number, halves rounded to even, 1..83.
        TypedCase{kFrames, "2.5", 2}, TypedCase{kFrames, "3.5", 4}, TypedCase{kFrames, "0.6", 1},
        TypedCase{kFrames, "12 frames", 12}, TypedCase{kFrames, "0.5", 83}, TypedCase{kFrames, "83.6", 83},
        TypedCase{kFrames, "1e300", 83}, TypedCase{kFrames, "-3", 83},
        TypedCase{kScale, "0.5e", kDefaultScale},
        // The speed: the whole text, 0.1..5 frames a second, stored as the period.
        TypedCase{kSpeed, "2", 0.5f}, TypedCase{kSpeed, "0.1", 1.0f / 0.1f}, TypedCase{kSpeed, "0", 1.0f},
        TypedCase{kSpeed, "0.09", 1.0f}, TypedCase{kSpeed, "5.1", 1.0f}, TypedCase{kSpeed, "2 fps", 1.0f},
        // The particle count: the leading number unrounded, 1..500.
        TypedCase{kParticles, "12.7", 12.7}, TypedCase{kParticles, "  20 particles", 20},
        TypedCase{kParticles, "500", 500}, TypedCase{kParticles, "600", 50}, TypedCase{kParticles, "0.5", 50},
        TypedCase{kParticles, "abc", 50},
        // The diffusion: the leading number, 0..10.
        TypedCase{kDiffusion, "10", 10}, TypedCase{kDiffusion, "", 0}, TypedCase{kDiffusion, "2.5m", 2.5},
        TypedCase{kDiffusion, "1.2.3", 1.2}, TypedCase{kDiffusion, "10.0001", 0.1},
        TypedCase{kDiffusion, "-1", 0.1}),
    [](const auto& row) {
      std::string name;
      for (char c : std::string(RowDesign(row.param.row).caption))
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
      return name + "_" + std::to_string(row.index);
    });

// Faults: a bar position giving a text its own row reads back differently,
// the wrong bar range.
TEST(ParameterBars, EveryPositionsTextReadsBackToItsValueExceptVectorScaleZero) {
  for (ParameterRow row : kParameterRows) {
    const ParameterRowDesign& design = RowDesign(row);
    for (int p = design.minimum; p <= design.maximum; ++p) {
      ModelState state = Marked();
      const std::string text = ApplyRowPosition(state, row, p);
      const auto byBar = static_cast<float>(RowValue(state, row));
      ApplyRowText(state, row, text);
      if (row == ParameterRow::VectorScale && p == 0) {
        // The bar's own value 0 shows as "0", which the rule refuses.
        EXPECT_EQ(text, "0");
        EXPECT_EQ(byBar, 0.0f);
        EXPECT_EQ(state.VectorScale, kDefaultScale);
        continue;
      }
      ASSERT_FLOAT_EQ(static_cast<float>(RowValue(state, row)), byBar) << design.caption << " at " << p;
    }
  }
}

TEST(ParameterBars, PositionsGiveTheseTexts) {
  const std::pair<ParameterRow, int> positions[] = {{kScale, 25},    {kFrames, 83},     {kSpeed, 0},
                                                    {kSpeed, 1},     {kSpeed, 100},     {kParticles, 500},
                                                    {kDiffusion, 7}, {kDiffusion, 1000}};
  const char* texts[] = {"0.25", "83", "0.1", "0.149", "5", "500", "0.07", "10"};
  for (std::size_t k = 0; k < std::size(texts); ++k) {
    ModelState state = Marked();
    EXPECT_EQ(ApplyRowPosition(state, positions[k].first, positions[k].second), texts[k]) << k;
  }
}

}  // namespace
}  // namespace lakedrift
