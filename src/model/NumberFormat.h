#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace lakedrift {

// Significant digits shown for single- and double-precision values.
inline constexpr int kSingleDigits = 7;
inline constexpr int kDoubleDigits = 15;

// The general number format of a text box: shortest form with at most
// `significantDigits` digits, no trailing zeros ("0.25", "1", "-30", "1E+20").
std::string FormatGeneral(double value, int significantDigits = kDoubleDigits);

// A number as labels print it: a blank in place of the sign of a
// non-negative number and no zero before the decimal point (" 1", " .5",
// "-.5", "-30").
std::string FormatPrinted(double value, int significantDigits = kDoubleDigits);

// Reads one item of a file or an option as a number: the whole item is an
// optional sign, digits with at most one full stop, and an optional
// exponent; nothing when anything else is in it (blanks, letters, "inf"),
// when it is empty, or when its value is not finite.
std::optional<double> ParseNumberItem(std::string_view item);

// Reads a whole text as one number, blanks around it allowed, the full stop
// as decimal point; nothing when any other character is left over or the
// text is empty.
std::optional<double> ParseWholeNumber(std::string_view text);

// Reads the longest leading decimal number of a text after leading blanks
// (optional sign, digits, one point, optional exponent); 0 when the text
// does not start with a number.
double ParseLeadingNumber(std::string_view text);

// The shortest text that reads back as the same number ("0.1", "1e+20").
std::string RoundTrip(double value);
std::string RoundTrip(float value);

// Rounds to the nearest integer, halves to the even neighbour (2.5 → 2).
double RoundHalfEven(double value);

}  // namespace lakedrift
