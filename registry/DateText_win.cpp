// Date stamps through Windows' locale services (kernel32's date and time
// formats, OLE Automation's date parser).
#include <windows.h>

#include <oleauto.h>

#include <string>

#include "common/SystemLibrary.h"
#include "registry/DateText.h"

namespace lumora {

namespace {

using VarDateFromStrFunction = HRESULT(WINAPI*)(const OLECHAR* text, LCID locale, ULONG flags,
                                                DATE* date);

// OLE Automation brings the COM libraries with it: oleaut32.dll is loaded
// from the system folder when a date is first read back, not at start.
VarDateFromStrFunction VarDateFromStrEntry() {
    static VarDateFromStrFunction entry = nullptr;
    if (entry == nullptr) {
        entry = ProcAddress<VarDateFromStrFunction>(LoadSystemLibrary(L"oleaut32.dll"),
                                                    "VarDateFromStr");
    }
    return entry;
}

SYSTEMTIME ToSystemTime(const LocalDateTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    return st;
}

std::wstring FormatDate(LCID locale, DWORD flags, const SYSTEMTIME& st) {
    wchar_t buffer[256] = {};
    const int n = GetDateFormatW(locale, flags, &st, nullptr, buffer, 256);
    return n > 0 ? std::wstring(buffer, static_cast<std::size_t>(n - 1)) : std::wstring();
}

std::wstring FormatTime(LCID locale, const SYSTEMTIME& st) {
    wchar_t buffer[256] = {};
    const int n = GetTimeFormatW(locale, 0, &st, nullptr, buffer, 256);
    return n > 0 ? std::wstring(buffer, static_cast<std::size_t>(n - 1)) : std::wstring();
}

std::wstring LocaleText(LCID locale, LCTYPE what) {
    wchar_t buffer[128] = {};
    const int n = GetLocaleInfoW(locale, what, buffer, 128);
    return n > 0 ? std::wstring(buffer, static_cast<std::size_t>(n - 1)) : std::wstring();
}

}  // namespace

LocalDateTime CurrentLocalTime() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    LocalDateTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    return t;
}

std::wstring DateStampToLocalTextFor(const std::wstring& stored, std::uint32_t locale) {
    try {
        if (IsDateText(stored)) {
            return stored;
        }
        const std::optional<std::int32_t> stamp = ParseDateStamp(stored);
        if (!stamp) {
            return std::wstring();
        }
        const LocalDateTime t = DateTimeFromStamp(*stamp);
        const SYSTEMTIME st = ToSystemTime(t);
        std::wstring text = FormatDate(locale, DATE_SHORTDATE, st);
        if (text.empty()) {
            return std::wstring();
        }
        if (t.hour != 0 || t.minute != 0 || t.second != 0) {
            text += L" " + FormatTime(locale, st);
        }
        return text;
    } catch (...) {
        return std::wstring();
    }
}

std::wstring DateStampToLocalText(const std::wstring& stored) {
    return DateStampToLocalTextFor(stored, kLocaleUserDefault);
}

std::optional<double> LocalTextToDateFor(const std::wstring& text, std::uint32_t locale) {
    try {
        if (text.empty()) {
            return std::nullopt;
        }
        // VarDateFromStr takes a writable OLECHAR*; give it a copy of its own.
        std::wstring copy(text);
        const VarDateFromStrFunction varDateFromStr = VarDateFromStrEntry();
        if (varDateFromStr == nullptr) {
            return std::nullopt;
        }
        DATE date = 0;
        const HRESULT hr = varDateFromStr(copy.data(), locale, 0, &date);
        if (SUCCEEDED(hr)) {
            return date;
        }
        if (hr != DISP_E_TYPEMISMATCH) {
            return std::nullopt;
        }
        SYSTEMTIME now{};
        GetLocalTime(&now);
        if (auto t = ParseShortDate(text, LocaleText(locale, LOCALE_SSHORTDATE), now.wYear)) {
            return DayCountFromDateTime(*t);
        }
        return ParseDayCount(text);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<double> LocalTextToDate(const std::wstring& text) {
    return LocalTextToDateFor(text, kLocaleUserDefault);
}

bool StampsReadBackWhole(std::uint32_t locale) {
    return FormatsKeepTheMoment(LocaleText(locale, LOCALE_SSHORTDATE),
                                LocaleText(locale, LOCALE_STIMEFORMAT),
                                LocaleText(locale, LOCALE_S1159), LocaleText(locale, LOCALE_S2359),
                                LocaleText(locale, LOCALE_ICALENDARTYPE) == L"1");
}

std::optional<double> StoredDateFor(const std::wstring& stored, std::uint32_t locale) {
    try {
        if (!IsDateText(stored) && StampsReadBackWhole(locale)) {
            const std::optional<std::int32_t> stamp = ParseDateStamp(stored);
            if (!stamp) {
                return std::nullopt;
            }
            return DayCountFromDateTime(DateTimeFromStamp(*stamp));
        }
        return LocalTextToDateFor(DateStampToLocalTextFor(stored, locale), locale);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<double> StoredDate(const std::wstring& stored) {
    return StoredDateFor(stored, kLocaleUserDefault);
}

std::wstring DateStampToDisplayTextFor(const std::wstring& stored, std::uint32_t userLocale,
                                       std::uint32_t displayLocale) {
    try {
        const std::optional<double> date = StoredDateFor(stored, userLocale);
        if (!date) {
            return std::wstring();
        }
        const LocalDateTime t = DateTimeFromDayCount(*date);
        if (!IsValidDateTime(t) || t.year < 1601) {
            return std::wstring();
        }
        const SYSTEMTIME st = ToSystemTime(t);
        const std::wstring day = FormatDate(displayLocale, DATE_LONGDATE, st);
        const std::wstring time = FormatTime(displayLocale, st);
        if (day.empty() || time.empty()) {
            return std::wstring();
        }
        return day + L" - " + time;
    } catch (...) {
        return std::wstring();
    }
}

std::wstring DateStampToDisplayText(const std::wstring& stored) {
    return DateStampToDisplayTextFor(stored, kLocaleUserDefault, kLocaleSystemDefault);
}

}  // namespace lumora
