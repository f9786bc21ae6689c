#include <gtest/gtest.h>

#include <string>

#include "model/DateTime.h"
#include "model/NumberFormat.h"

namespace lakedrift {
namespace {

struct FormatCase {
  const char* name;
  double value;
  int digits;
  const char* general;
  const char* printed;
};

class NumberFormatting : public ::testing::TestWithParam<FormatCase> {};

TEST_P(NumberFormatting, GeneralAndPrintedForms) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatGeneral(c.value, c.digits), c.general);
  EXPECT_EQ(FormatPrinted(c.value, c.digits), c.printed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumberFormatting,
    ::testing::Values(FormatCase{"one", 1, 7, "1", " 1"}, FormatCase{"half", 0.5, 7, "0.5", " .5"},
                      FormatCase{"minus_half", -0.5, 7, "-0.5", "-.5"},
                      FormatCase{"minus_thirty", -30, 15, "-30", "-30"}, FormatCase{"zero", 0, 15, "0", " 0"},
                      FormatCase{"negative_zero", -0.0, 15, "0", " 0"},
                      FormatCase{"quarter", 0.25, 15, "0.25", " .25"},
                      FormatCase{"tenth", 0.1, 15, "0.1", " .1"},
                      // A single-precision speed shows 7 digits, not its binary tail.
                      FormatCase{"single_speed", static_cast<float>(0.1 + 4.9 * 0.01), 7, "0.149", " .149"},
                      FormatCase{"big", 1e20, 15, "1E+20", " 1E+20"},
                      FormatCase{"magnification", 1024, 7, "1024", " 1024"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(NumberReading, WholeTextMustBeOneNumber) {
  EXPECT_EQ(ParseWholeNumber(" 0.25 "), 0.25);
  EXPECT_EQ(ParseWholeNumber("1e1"), 10.0);
  EXPECT_EQ(ParseWholeNumber("-.5"), -0.5);
  EXPECT_EQ(ParseWholeNumber("+2"), 2.0);
  EXPECT_FALSE(ParseWholeNumber(""));
  EXPECT_FALSE(ParseWholeNumber("   "));
  EXPECT_FALSE(ParseWholeNumber("0.25x"));
  EXPECT_FALSE(ParseWholeNumber("abc"));
  EXPECT_FALSE(ParseWholeNumber("0,25"));
  EXPECT_FALSE(ParseWholeNumber("."));
}

TEST(NumberReading, LeadingNumberTakesTheLongestPrefix) {
  EXPECT_EQ(ParseLeadingNumber("12.7"), 12.7);
  EXPECT_EQ(ParseLeadingNumber("  12.7 particles"), 12.7);
  EXPECT_EQ(ParseLeadingNumber("3e2x"), 300.0);
  EXPECT_EQ(ParseLeadingNumber("3e"), 3.0);  // an exponent without digits is not part of it
  EXPECT_EQ(ParseLeadingNumber("1.2.3"), 1.2);
  EXPECT_EQ(ParseLeadingNumber("-1"), -1.0);
  EXPECT_EQ(ParseLeadingNumber("letters"), 0.0);
  EXPECT_EQ(ParseLeadingNumber(""), 0.0);
  EXPECT_EQ(ParseLeadingNumber("99999"), 99999.0);
}

TEST(NumberReading, HalvesRoundToEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2.0);
  EXPECT_EQ(RoundHalfEven(3.5), 4.0);
  EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
  EXPECT_EQ(RoundHalfEven(2.6), 3.0);
}

TEST(DateTimeFormat, ScenarioStartsAndTheirLastFrames) {
  EXPECT_EQ(FormatDateTime(ScenarioStart(1)), "02:00 2-April-97");
  EXPECT_EQ(FormatDateTime(ScenarioStart(2)), "02:00 22-August-97");
  // The clock adds the single-precision twelfth of a day 82 times.
  DateTime wet = ScenarioStart(1), dry = ScenarioStart(2);
  for (int k = 0; k < 82; ++k) wet.days += kTwoHoursInDays, dry.days += kTwoHoursInDays;
  EXPECT_EQ(FormatDateTime(wet), "22:00 8-April-97");
  EXPECT_EQ(FormatDateTime(dry), "22:00 28-August-97");
}

TEST(DateTimeFormat, IsoForm) {
  EXPECT_EQ(FormatIsoDateTime(ScenarioStart(1)), "1997-04-02T02:00:00");
  EXPECT_EQ(FormatIsoDateTime(DateTime{ScenarioStart(2).days + 166.0 / 24}), "1997-08-29T00:00:00");
}

TEST(DateTimeFormat, DaysCountFromTheEpochAndCrossMonthsAndYears) {
  EXPECT_DOUBLE_EQ(MakeDateTime(1899, 12, 30).days, 0.0);
  EXPECT_DOUBLE_EQ(MakeDateTime(1900, 3, 1).days, 61.0);
  EXPECT_EQ(FormatDateTime(MakeDateTime(1999, 12, 31, 23, 0)), "23:00 31-December-99");
  EXPECT_EQ(FormatDateTime(DateTime{MakeDateTime(1999, 12, 31, 23, 0).days + 1.0 / 12.0}),
            "01:00 1-January-00");
  // Half a second rounds up to the next minute boundary when it completes it.
  EXPECT_EQ(FormatDateTime(DateTime{MakeDateTime(1997, 4, 2, 1, 59, 59).days + 0.6 / 86400}),
            "02:00 2-April-97");
}

}  // namespace
}  // namespace lakedrift
