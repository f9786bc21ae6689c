#include "model/DateTime.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace lakedrift {
namespace {

constexpr long kSecondsPerDay = 86400;

// The date-time epoch, 30 December 1899, as a calendar day.
constexpr std::chrono::sys_days kEpoch{std::chrono::year{1899} / std::chrono::December / 30};

// The calendar date `days` whole days after the epoch.
std::chrono::year_month_day DateOf(long days) { return kEpoch + std::chrono::days{days}; }

constexpr std::array<const char*, 12> kMonthNames = {"January",   "February", "March",    "April",
                                                     "May",       "June",     "July",     "August",
                                                     "September", "October",  "November", "December"};

}  // namespace

DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second) {
  const std::chrono::sys_days date{std::chrono::year{year} / month / day};
  const long days = (date - kEpoch).count();
  const double fraction = (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
  return DateTime{static_cast<double>(days) + fraction};
}

DateTime ScenarioStart(int season) {
  return season == 2 ? MakeDateTime(1997, 8, 22, 2) : MakeDateTime(1997, 4, 2, 2);
}

namespace {
struct Moment {
  std::chrono::year_month_day date;
  long secondOfDay;
};

Moment Split(DateTime value) {
  const double totalSeconds = std::nearbyint(value.days * kSecondsPerDay);
  const long wholeDays = static_cast<long>(std::floor(totalSeconds / kSecondsPerDay));
  const long secondOfDay = static_cast<long>(totalSeconds) - wholeDays * kSecondsPerDay;
  return {DateOf(wholeDays), secondOfDay};
}
}  // namespace

std::string FormatIsoDateTime(DateTime value) {
  const auto [date, secondOfDay] = Split(value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02ld:%02ld:%02ld", int{date.year()},
                unsigned{date.month()}, unsigned{date.day()}, secondOfDay / 3600, (secondOfDay / 60) % 60,
                secondOfDay % 60);
  return buffer;
}

std::string FormatDateTime(DateTime value) {
  const auto [date, secondOfDay] = Split(value);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02ld:%02ld %u-%s-%02d", secondOfDay / 3600, (secondOfDay / 60) % 60,
                unsigned{date.day()}, kMonthNames[unsigned{date.month()} - 1],
                ((int{date.year()} % 100) + 100) % 100);
  return buffer;
}

}  // namespace lakedrift
