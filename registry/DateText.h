// Date stamps written and read in the regional formats of Windows' locale
// services. The plain calls use the current user's settings (and the system's
// for the display text); the *For variants take the locale explicitly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "registry/DateStamp.h"

namespace lumora {

inline constexpr std::uint32_t kLocaleUserDefault = 0x0400;
inline constexpr std::uint32_t kLocaleSystemDefault = 0x0800;

// The stored text as a date in the user's short date format, followed by one
// blank and the long time format unless the time is exactly midnight. A text
// with ":" or "/" is returned as it is; one that is not a stamp gives "".
std::wstring DateStampToLocalText(const std::wstring& stored);
std::wstring DateStampToLocalTextFor(const std::wstring& stored, std::uint32_t locale);

// A date text read by the locale-aware parser, then as a short date, then as
// a plain day count; no date when all fail.
std::optional<double> LocalTextToDate(const std::wstring& text);
std::optional<double> LocalTextToDateFor(const std::wstring& text, std::uint32_t locale);

// The date a stored value reads back as: its local text read by the
// locale-aware parser, LocalTextToDate(DateStampToLocalText(stored)). Where
// the locale's formats carry the whole moment (StampsReadBackWhole), a stamp
// reads back as its own moment, and the parser (OLE Automation, with the COM
// libraries it brings) is not loaded for it.
std::optional<double> StoredDate(const std::wstring& stored);
std::optional<double> StoredDateFor(const std::wstring& stored, std::uint32_t locale);

// Whether a stamp's local text in the locale's formats names its whole
// moment in a form the locale-aware parser reads as it was written.
bool StampsReadBackWhole(std::uint32_t locale);
// The same from the formats themselves: a short date of day, month and a
// four-digit year in digits with one "/", "." or "-" between them; a time of
// hours, minutes and seconds between ":", on a 12-hour clock only with "AM"
// and "PM" after them; and the Gregorian calendar.
bool FormatsKeepTheMoment(const std::wstring& shortDate, const std::wstring& time,
                          const std::wstring& am, const std::wstring& pm, bool gregorian);

// "long date - long time" in the system locale's formats, or "" when the
// stored text is not a readable date.
std::wstring DateStampToDisplayText(const std::wstring& stored);
std::wstring DateStampToDisplayTextFor(const std::wstring& stored, std::uint32_t userLocale,
                                       std::uint32_t displayLocale);

// The platform's local clock.
LocalDateTime CurrentLocalTime();

// Reads a date in a short date pattern such as "M/d/yyyy" or "dd.MM.yyyy":
// the order of day, month and year comes from the pattern, the fields are the
// runs of digits in the text. A two-digit year lies in 1950..2049; a missing
// year is |currentYear|.
std::optional<LocalDateTime> ParseShortDate(const std::wstring& text, const std::wstring& pattern,
                                            int currentYear);
// A plain decimal day count such as "42347" or "42347.5".
std::optional<double> ParseDayCount(const std::wstring& text);

}  // namespace lumora
