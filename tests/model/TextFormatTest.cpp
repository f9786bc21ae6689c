#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/DateTime.h"
#include "model/FlowField.h"
#include "model/GeometryReader.h"
#include "model/NumberFormat.h"

namespace lakedrift {
namespace {

// A text the program shows or a file name it builds, and what it must be.
struct TextCase {
  const char* name;
  std::function<std::string()> text;
  const char* expected;
};

class Texts : public testing::TestWithParam<TextCase> {};

TEST_P(Texts, AreExactly) { EXPECT_EQ(GetParam().text(), GetParam().expected); }

// The clock after `steps` of the single-precision twelfths of a day it adds.
DateTime AfterSteps(DateTime start, int steps) {
  for (int k = 0; k < steps; ++k) start.days += kTwoHoursInDays;
  return start;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Texts,
    testing::Values(
        // Numbers: the general form, and the printed form with its sign place and no leading zero.
        TextCase{"general_half", [] { return FormatGeneral(0.5, 7); }, "0.5"},
        TextCase{"printed_one", [] { return FormatPrinted(1, 7); }, " 1"},
        TextCase{"printed_half", [] { return FormatPrinted(0.5, 7); }, " .5"},
        TextCase{"printed_minus_half", [] { return FormatPrinted(-0.5, 7); }, "-.5"},
        TextCase{"printed_negative_zero", [] { return FormatPrinted(-0.0, 15); }, " 0"},
        TextCase{"general_negative_zero", [] { return FormatGeneral(-0.0, 15); }, "0"},
        TextCase{"printed_big", [] { return FormatPrinted(1e20, 15); }, " 1E+20"},
        // A single-precision speed shows 7 digits, not its binary tail.
        TextCase{"single_speed", [] { return FormatPrinted(static_cast<float>(0.1 + 4.9 * 0.01), 7); },
                 " .149"},
        TextCase{"general_tenth", [] { return FormatGeneral(0.1, 15); }, "0.1"},
        // Dates: the scenario starts and their last frames; month, year and day changes.
        TextCase{"wet_start", [] { return FormatDateTime(ScenarioStart(1)); }, "02:00 2-April-97"},
        TextCase{"dry_start", [] { return FormatDateTime(ScenarioStart(2)); }, "02:00 22-August-97"},
        TextCase{"wet_end", [] { return FormatDateTime(AfterSteps(ScenarioStart(1), 82)); },
                 "22:00 8-April-97"},
        TextCase{"dry_end", [] { return FormatDateTime(AfterSteps(ScenarioStart(2), 82)); },
                 "22:00 28-August-97"},
        TextCase{"new_year",
                 [] { return FormatDateTime(DateTime{MakeDateTime(1999, 12, 31, 23, 0).days + 1.0 / 12.0}); },
                 "01:00 1-January-00"},
        TextCase{"leap_day_1900_is_not_counted", [] { return FormatIsoDateTime(DateTime{61.0}); },
                 "1900-03-01T00:00:00"},
        // Half a second rounds up to the next minute boundary when it completes it.
        TextCase{
            "rounds_to_minute",
            [] { return FormatDateTime(DateTime{MakeDateTime(1997, 4, 2, 1, 59, 59).days + 0.6 / 86400}); },
            "02:00 2-April-97"},
        TextCase{"iso_after_a_run",
                 [] { return FormatIsoDateTime(DateTime{ScenarioStart(2).days + 166.0 / 24}); },
                 "1997-08-29T00:00:00"},
        // File names of region, season and flow type.
        TextCase{"flow_wet_surface", [] { return FlowFileNameFor(1, 1, 1); }, "tanws.fld"},
        TextCase{"flow_dry_averaged", [] { return FlowFileNameFor(1, 2, 2); }, "tanda.fld"},
        TextCase{"flow_second_region", [] { return FlowFileNameFor(2, 1, 2); }, "malwa.fld"},
        TextCase{"flow_third_region", [] { return FlowFileNameFor(3, 2, 1); }, "zamds.fld"},
        TextCase{"geometry_second_region", [] { return GeometryFileName(2); }, "geommal.inp"},
        TextCase{"geometry_third_region", [] { return GeometryFileName(3); }, "geomzam.inp"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lakedrift
