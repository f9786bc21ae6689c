// The texts the program shows and reads: numbers, dates, file names, and
// the parameter rows' rules for typed texts and bar positions.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "model/DateTime.h"
#include "model/FlowField.h"
#include "model/GeometryReader.h"
#include "model/ModelState.h"
#include "model/NumberFormat.h"
#include "model/ParameterRules.h"
#include "model/RunParameters.h"

namespace lakedrift {
namespace {

// A state whose parameters hold values no rule produces, so that every
// rule must write its row.
ModelState Marked() {
  ModelState state;
  state.VectorScale = state.ParticleCount = state.DiffusionCoef = state.FramePeriod = state.FrameCount = -7;
  return state;
}

// The row's own variable (the rows in the order of the enumeration).
double RowValue(const ModelState& s, ParameterRow row) {
  const std::array<double, kParameterRowCount> values = {s.VectorScale, double(s.FrameCount), s.FramePeriod,
                                                         s.ParticleCount, s.DiffusionCoef};
  return values[static_cast<int>(row)];
}

constexpr ParameterRow kScale = ParameterRow::VectorScale, kFrames = ParameterRow::FrameCount,
                       kSpeed = ParameterRow::AnimationSpeed, kParticles = ParameterRow::ParticleCount,
                       kDiffusion = ParameterRow::DiffusionCoef;
const double kDefaultScale = DefaultRunParameters().VectorScale;

// Faults: a rule reading the leading number where the whole text must be
// one (and the reverse), rounding wrong, a bound let through, a refused
// text not replaced by the row's default; a bar position giving a text its
// own row reads back differently, the wrong bar range, the wrong text at a
// position.
TEST(ParameterRows, StoreTypedTextsByTheirRulesAndBarPositionsAsTheirTextsReadBack) {
  // The row, the text typed, and the value the row's variable then holds.
  // clang-format off
  const std::tuple<ParameterRow, const char*, double> rows[] = {
      // The vector scale: the whole text, rounded to single precision, in (0, 1].
      {kScale, " 0.5 ", 0.5}, {kScale, "0.3", static_cast<double>(0.3f)}, {kScale, "1e0", 1.0}, {kScale, "+0.5", 0.5},
      {kScale, "1.5", kDefaultScale}, {kScale, "0", kDefaultScale}, {kScale, "0.5x", kDefaultScale},
      {kScale, "0,5", kDefaultScale}, {kScale, "", kDefaultScale}, {kScale, "0.5e", kDefaultScale},
      // The frame count: the leading number, halves rounded to even, 1..83.
      {kFrames, "2.5", 2}, {kFrames, "3.5", 4}, {kFrames, "0.6", 1}, {kFrames, "12 frames", 12}, {kFrames, "0.5", 83},
      {kFrames, "83.6", 83}, {kFrames, "1e300", 83}, {kFrames, "-3", 83},
      // The speed: the whole text, 0.1..5 frames a second, stored as the period.
      {kSpeed, "2", 0.5f}, {kSpeed, "0.1", 1.0f / 0.1f}, {kSpeed, "0", 1.0f}, {kSpeed, "0.09", 1.0f},
      {kSpeed, "5.1", 1.0f}, {kSpeed, "2 fps", 1.0f},
      // The particle count: the leading number unrounded, 1..500.
      {kParticles, "12.7", 12.7}, {kParticles, "  20 particles", 20}, {kParticles, "500", 500},
      {kParticles, "600", 50}, {kParticles, "0.5", 50}, {kParticles, "abc", 50},
      // The diffusion: the leading number, 0..10.
      {kDiffusion, "10", 10}, {kDiffusion, "", 0}, {kDiffusion, "2.5m", 2.5}, {kDiffusion, "1.2.3", 1.2},
      {kDiffusion, "10.0001", 0.1}, {kDiffusion, "-1", 0.1}};
  // clang-format on
  for (const auto& [row, text, stored] : rows) {
    ModelState state = Marked();
    ApplyRowText(state, row, text);
    EXPECT_EQ(RowValue(state, row), stored) << RowDesign(row).caption << " \"" << text << '"';
  }
  // Texts the bars give at these positions; every position's text reads
  // back to the bar's value except the vector scale's 0.
  const std::map<std::pair<ParameterRow, int>, std::string> texts = {
      {{kScale, 25}, "0.25"}, {{kFrames, 83}, "83"},      {{kSpeed, 0}, "0.1"},      {{kSpeed, 1}, "0.149"},
      {{kSpeed, 100}, "5"},   {{kParticles, 500}, "500"}, {{kDiffusion, 7}, "0.07"}, {{kDiffusion, 1000}, "10"}};
  for (ParameterRow row : kParameterRows) {
    const ParameterRowDesign& design = RowDesign(row);
    for (int p = design.minimum; p <= design.maximum; ++p) {
      ModelState state = Marked();
      const std::string text = ApplyRowPosition(state, row, p);
      EXPECT_TRUE(!texts.contains({row, p}) || texts.at({row, p}) == text) << design.caption << " at " << p;
      const auto byBar = static_cast<float>(RowValue(state, row));
      ApplyRowText(state, row, text);
      // The bar's own value 0 shows as "0", which the rule refuses.
      if (row == ParameterRow::VectorScale && p == 0)
        EXPECT_TRUE(text == "0" && byBar == 0.0f && state.VectorScale == kDefaultScale)
            << text << " " << byBar;
      else
        ASSERT_FLOAT_EQ(static_cast<float>(RowValue(state, row)), byBar) << design.caption << " at " << p;
    }
  }
}

// The clock after `steps` of the single-precision twelfths of a day it adds.
DateTime AfterSteps(DateTime start, int steps) {
  for (int k = 0; k < steps; ++k) start.days += kTwoHoursInDays;
  return start;
}

// Texts the program shows and file names it builds, each with what it must be.
TEST(Texts, AreExactly) {
  // clang-format off
  const std::pair<std::string, const char*> rows[] = {
      // Numbers: the general form, and the printed form with its sign place and no leading zero.
      {FormatGeneral(0.5, 7), "0.5"}, {FormatPrinted(1, 7), " 1"}, {FormatPrinted(0.5, 7), " .5"},
      {FormatPrinted(-0.5, 7), "-.5"}, {FormatPrinted(-0.0, 15), " 0"}, {FormatGeneral(-0.0, 15), "0"},
      {FormatPrinted(1e20, 15), " 1E+20"}, {FormatGeneral(0.1, 15), "0.1"},
      // A single-precision speed shows 7 digits, not its binary tail.
      {FormatPrinted(static_cast<float>(0.1 + 4.9 * 0.01), 7), " .149"},
      // Dates: the scenario starts and their last frames; month, year and day changes.
      {FormatDateTime(ScenarioStart(1)), "02:00 2-April-97"}, {FormatDateTime(ScenarioStart(2)), "02:00 22-August-97"},
      {FormatDateTime(AfterSteps(ScenarioStart(1), 82)), "22:00 8-April-97"},
      {FormatDateTime(AfterSteps(ScenarioStart(2), 82)), "22:00 28-August-97"},
      {FormatDateTime(DateTime{MakeDateTime(1999, 12, 31, 23, 0).days + 1.0 / 12.0}), "01:00 1-January-00"},
      {FormatIsoDateTime(DateTime{61.0}), "1900-03-01T00:00:00"},  // the leap day of 1900 is not counted
      // Half a second rounds up to the next minute boundary when it completes it.
      {FormatDateTime(DateTime{MakeDateTime(1997, 4, 2, 1, 59, 59).days + 0.6 / 86400}), "02:00 2-April-97"},
      {FormatIsoDateTime(DateTime{ScenarioStart(2).days + 166.0 / 24}), "1997-08-29T00:00:00"},
      // File names of region, season and flow type.
      {FlowFileNameFor(1, 1, 1), "tanws.fld"}, {FlowFileNameFor(1, 2, 2), "tanda.fld"},
      {FlowFileNameFor(2, 1, 2), "malwa.fld"}, {FlowFileNameFor(3, 2, 1), "zamds.fld"},
      {GeometryFileName(2), "geommal.inp"}, {GeometryFileName(3), "geomzam.inp"}};
  // clang-format on
  for (const auto& [text, expected] : rows) EXPECT_EQ(text, expected);
}

}  // namespace
}  // namespace lakedrift
