// Date stamps: the decimal text of a signed 32-bit count of seconds since
// 1 January 1970 00:00:00, both read as local wall-clock time (no time zone or
// daylight-saving correction). Dates are exchanged as day counts, days since
// 30 December 1899 00:00 with the time of day as the fraction.
//
// A moment outside the 32-bit range (before 13 December 1901 20:45:52 or after
// 19 January 2038 03:14:07) stamps the nearest end of the range, so a stamp is
// always a valid date that every reader of the program key understands.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lumora {

struct LocalDateTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    bool operator==(const LocalDateTime& o) const {
        return year == o.year && month == o.month && day == o.day && hour == o.hour &&
               minute == o.minute && second == o.second && millisecond == o.millisecond;
    }
};

inline constexpr double kUnixEpochDayCount = 25569.0;

// Days since 30 December 1899 for a calendar date and time.
double DayCountFromDateTime(const LocalDateTime& t);
// The calendar date and time of a day count, to the nearest millisecond.
LocalDateTime DateTimeFromDayCount(double dayCount);
bool IsValidDateTime(const LocalDateTime& t);

// (t - 25569) x 86400 rounded to the nearest second, an exact half to the
// even neighbour; clamped to the signed 32-bit range.
std::int32_t DateStampFromTime(const LocalDateTime& t);
// n / 86400 + 25569.
double TimeFromDateStamp(std::int32_t n);
// The exact calendar form of a stamp.
LocalDateTime DateTimeFromStamp(std::int32_t n);

// The count of a stored stamp: an optional sign and decimal digits, in the
// signed 32-bit range; anything else is no stamp.
std::optional<std::int32_t> ParseDateStamp(const std::wstring& text);
std::wstring FormatDateStamp(std::int32_t n);
// A stored text with ":" or "/" is a date already written in the user's
// regional format.
bool IsDateText(const std::wstring& text);

}  // namespace lumora
