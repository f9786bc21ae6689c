#include "model/NumberFormat.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace lakedrift {

namespace {
constexpr std::size_t kRoundTripChars = 40;  // ample for any float or double

template <typename T>
std::string ShortestText(T value) {
  char buffer[kRoundTripChars];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}
}  // namespace

std::string RoundTrip(double value) { return ShortestText(value); }

std::string RoundTrip(float value) { return ShortestText(value); }

std::string FormatGeneral(double value, int significantDigits) {
  if (value == 0.0) return "0";  // also -0
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  // to_chars, unlike printf, ignores the locale: the point stays a full stop.
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significantDigits);
  std::string text(buffer, result.ptr);
  for (char& c : text)
    if (c == 'e') c = 'E';
  return text;
}

std::string FormatPrinted(double value, int significantDigits) {
  std::string text = FormatGeneral(value, significantDigits);
  const bool negative = !text.empty() && text[0] == '-';
  std::string digits = negative ? text.substr(1) : text;
  if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') digits.erase(0, 1);
  return (negative ? "-" : " ") + digits;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Length of the decimal number that starts at text[pos], 0 when none does.
std::size_t NumberLength(std::string_view text, std::size_t pos) {
  std::size_t i = pos;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    std::size_t expDigits = 0;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j, ++expDigits;
    if (expDigits > 0) i = j;
  }
  return i - pos;
}

// from_chars ignores the locale, so the full stop is always the point.
double ToDouble(std::string_view number) {
  if (!number.empty() && number[0] == '+') number.remove_prefix(1);
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    const bool negative = !number.empty() && number[0] == '-';
    // Too large a magnitude reads as infinity, too small as zero.
    const bool tiny = number.find_first_of("eE") != std::string_view::npos &&
                      number.find('-', number.find_first_of("eE")) != std::string_view::npos;
    if (tiny) return negative ? -0.0 : 0.0;
    return negative ? -HUGE_VAL : HUGE_VAL;
  }
  return value;
}

}  // namespace

std::optional<double> ParseNumberItem(std::string_view item) {
  if (item.empty() || NumberLength(item, 0) != item.size()) return std::nullopt;
  const double value = ToDouble(item);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> ParseWholeNumber(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  const std::size_t length = NumberLength(text, start);
  if (length == 0) return std::nullopt;
  std::size_t end = start + length;
  while (end < text.size() && IsBlank(text[end])) ++end;
  if (end != text.size()) return std::nullopt;
  return ToDouble(text.substr(start, length));
}

double ParseLeadingNumber(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  const std::size_t length = NumberLength(text, start);
  return length == 0 ? 0.0 : ToDouble(text.substr(start, length));
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

}  // namespace lakedrift
