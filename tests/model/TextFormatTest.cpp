#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "model/DateTime.h"
#include "model/FlowField.h"
#include "model/GeometryReader.h"
#include "model/NumberFormat.h"

namespace lakedrift {
namespace {

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
