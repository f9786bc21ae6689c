#pragma once
#include <string>

namespace lakedrift {

// A date and time as days since 30 December 1899, the time of day as the
// fraction: 1 April 1997 12:00 is 35521.5.
struct DateTime {
  double days = 0.0;
  bool operator==(const DateTime&) const = default;
};

// The date-time of a calendar day and time of day.
DateTime MakeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// The start of a wind scenario's week, 02:00 on its first day: 2 April 1997
// for season 1 (wet), 22 August 1997 for season 2 (dry).
DateTime ScenarioStart(int season);

// "hh:mm d-mmmm-yy": 24-hour clock, day without leading zero, full English
// month name, two-digit year ("02:00 2-April-97"). The value is rounded to
// the nearest second first.
std::string FormatDateTime(DateTime value);

// ISO 8601 local time, "1997-04-02T02:00:00", rounded to the second.
std::string FormatIsoDateTime(DateTime value);

// One day's fraction for a two-hour step, in single precision as the clock
// adds it.
inline constexpr float kTwoHoursInDays = 1.0f / 12.0f;

}  // namespace lakedrift
