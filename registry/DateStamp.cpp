#include "registry/DateStamp.h"

#include <cmath>
#include <limits>

namespace lumora {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

LocalDateTime FromUnixMilliseconds(std::int64_t ms) {
    LocalDateTime t;
    const std::int64_t days = FloorDiv(ms, kSecondsPerDay * 1000);
    std::int64_t rest = ms - days * kSecondsPerDay * 1000;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600000);
    rest %= 3600000;
    t.minute = static_cast<int>(rest / 60000);
    rest %= 60000;
    t.second = static_cast<int>(rest / 1000);
    t.millisecond = static_cast<int>(rest % 1000);
    return t;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) {
        return 29;
    }
    return kDays[month - 1];
}

}  // namespace

bool IsValidDateTime(const LocalDateTime& t) {
    return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour < 24 && t.minute >= 0 &&
           t.minute < 60 && t.second >= 0 && t.second < 60 && t.millisecond >= 0 &&
           t.millisecond < 1000;
}

double DayCountFromDateTime(const LocalDateTime& t) {
    const double days =
        static_cast<double>(DaysFromCivil(t.year, t.month, t.day)) + kUnixEpochDayCount;
    const double fraction =
        ((t.hour * 3600.0 + t.minute * 60.0 + t.second) * 1000.0 + t.millisecond) /
        (kSecondsPerDay * 1000.0);
    // Before 30 December 1899 the fraction counts forward from the day, while
    // the day itself counts backwards (the day count's own convention).
    return days >= 0 ? days + fraction : days - fraction;
}

LocalDateTime DateTimeFromDayCount(double dayCount) {
    double whole = std::trunc(dayCount);
    double fraction = std::fabs(dayCount - whole);
    auto ms = static_cast<std::int64_t>(std::llround(fraction * kSecondsPerDay * 1000.0));
    if (ms >= kSecondsPerDay * 1000) {
        ms -= kSecondsPerDay * 1000;
        whole += dayCount >= 0 ? 1 : -1;
    }
    const auto days =
        static_cast<std::int64_t>(whole) - static_cast<std::int64_t>(kUnixEpochDayCount);
    return FromUnixMilliseconds(days * kSecondsPerDay * 1000 + ms);
}

std::int32_t DateStampFromTime(const LocalDateTime& t) {
    const std::int64_t ms = (DaysFromCivil(t.year, t.month, t.day) * kSecondsPerDay +
                             t.hour * 3600LL + t.minute * 60LL + t.second) *
                                1000 +
                            t.millisecond;
    std::int64_t seconds = FloorDiv(ms, 1000);
    const std::int64_t rest = ms - seconds * 1000;
    if (rest > 500 || (rest == 500 && (seconds % 2 != 0))) {
        ++seconds;
    }
    if (seconds > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (seconds < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(seconds);
}

double TimeFromDateStamp(std::int32_t n) {
    return static_cast<double>(n) / static_cast<double>(kSecondsPerDay) + kUnixEpochDayCount;
}

LocalDateTime DateTimeFromStamp(std::int32_t n) {
    return FromUnixMilliseconds(static_cast<std::int64_t>(n) * 1000);
}

std::optional<std::int32_t> ParseDateStamp(const std::wstring& text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - L'0');
        if (value > 2147483648LL) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::wstring FormatDateStamp(std::int32_t n) {
    return std::to_wstring(n);
}

bool IsDateText(const std::wstring& text) {
    return text.find(L':') != std::wstring::npos || text.find(L'/') != std::wstring::npos;
}

}  // namespace lumora
