#include "model/DateTime.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace lakedrift {
namespace {

constexpr long kSecondsPerDay = 86400;
// Days from 1970-01-01 back to the epoch 1899-12-30.
constexpr long kEpochOffsetDays = 25569;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's method).
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

struct CivilDate {
  long year;
  unsigned month, day;
};

CivilDate CivilFromDays(long z) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long y = static_cast<long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {y + (m <= 2), m, d};
}

constexpr std::array<const char*, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

}  // namespace

DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second) {
  const long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                    kEpochOffsetDays;
  const double fraction = (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
  return DateTime{static_cast<double>(days) + fraction};
}

DateTime ScenarioStart(int season) {
  return season == 2 ? MakeDateTime(1997, 8, 22, 2) : MakeDateTime(1997, 4, 2, 2);
}

namespace {
struct Moment {
  CivilDate date;
  long secondOfDay;
};

Moment Split(DateTime value) {
  const double totalSeconds = std::nearbyint(value.days * kSecondsPerDay);
  const long wholeDays = static_cast<long>(std::floor(totalSeconds / kSecondsPerDay));
  const long secondOfDay = static_cast<long>(totalSeconds) - wholeDays * kSecondsPerDay;
  return {CivilFromDays(wholeDays - kEpochOffsetDays), secondOfDay};
}
}  // namespace

std::string FormatIsoDateTime(DateTime value) {
  const auto [date, secondOfDay] = Split(value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04ld-%02u-%02uT%02ld:%02ld:%02ld", date.year, date.month,
                date.day, secondOfDay / 3600, (secondOfDay / 60) % 60, secondOfDay % 60);
  return buffer;
}

std::string FormatDateTime(DateTime value) {
  const auto [date, secondOfDay] = Split(value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02ld:%02ld %u-%s-%02ld", secondOfDay / 3600,
                (secondOfDay / 60) % 60, date.day, kMonthNames[date.month - 1],
                ((date.year % 100) + 100) % 100);
  return buffer;
}

}  // namespace lakedrift
