#include "ui/NativeHintWindow.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace lumora {

namespace {

// Created at start-up, freed at the end of the process.
std::unique_ptr<std::vector<THintWindowFix*>> liveHintWindows;

// The size Windows 2000 and XP accept for SPI_GETNONCLIENTMETRICS: the record
// up to lfMessageFont, without Vista's iPaddedBorderWidth. Later versions
// accept it as well.
constexpr UINT kNonClientMetricsSize =
    static_cast<UINT>(offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW));
static_assert(kNonClientMetricsSize == 500, "the Windows 2000 record is 500 bytes");

// The monitor nearest to |point|, or the whole desktop without one.
HintBounds MonitorBoundsAt(POINT point) {
    RECT rect{};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    if (monitor != nullptr && GetMonitorInfoW(monitor, &info)) {
        rect = info.rcMonitor;
    } else {
        GetWindowRect(GetDesktopWindow(), &rect);
    }
    return HintBounds{rect.left, rect.top, rect.right, rect.bottom};
}

// What the tooltip adds around an empty text rectangle.
HintBounds TooltipFrame(HWND tooltip) {
    RECT frame{0, 0, 0, 0};
    SendMessageW(tooltip, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&frame));
    return HintBounds{frame.left, frame.top, frame.right, frame.bottom};
}

}  // namespace

THintWindowFix::THintWindowFix(Application& owner) : owner_(owner) {
    // A fault skips the remaining steps, silently.
    try {
        OldAppHintHandler = owner_.HintChangedHandler();
        owner_.SetHintChangedHandler([this] { ApplicationHintChanged(); });
        const HintTimings timings = HintTimingsFromDoubleClick(GetDoubleClickTime());
        owner_.SetHintTimings(timings.pause, timings.shortPause, timings.hidePause);
        if (liveHintWindows) {
            liveHintWindows->push_back(this);
        }
    } catch (...) {
    }
}

THintWindowFix::~THintWindowFix() {
    if (liveHintWindows) {
        auto& live = *liveHintWindows;
        live.erase(std::remove(live.begin(), live.end(), this), live.end());
    }
    owner_.SetHintChangedHandler(std::move(OldAppHintHandler));
    // A tracking tooltip stays on the screen until it is destroyed.
    DestroyTooltip();
}

void THintWindowFix::ApplicationHintChanged() {
    if (ShortHintText(owner_.Hint()).empty()) {
        ReleaseHandle();
    }
}

void THintWindowFix::ReleaseHandle() {
    DestroyTooltip();
}

void THintWindowFix::DestroyTooltip() {
    if (tooltip_ != nullptr && IsWindow(tooltip_)) {
        DestroyWindow(tooltip_);
    }
    tooltip_ = nullptr;
}

void THintWindowFix::ActivateHint(const RECT& rect, const std::wstring& text) {
    if (tooltip_ != nullptr && IsWindow(tooltip_)) {
        if (text == text_) {
            return;
        }
        ReleaseHandle();
    }
    text_ = text;
    tooltip_ = CreateNativeTooltip(POINT{rect.left, rect.top}, text);
}

RECT THintWindowFix::CalcHintRect(int, const std::wstring& text, void*) {
    const HintSize size = MeasureHintText(text, 0);
    return RECT{0, 0, size.width, size.height};
}

HWND THintWindowFix::CreateNativeTooltip(POINT point, const std::wstring& text) {
    HWND tooltip =
        CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                        nullptr, GetModuleHandleW(nullptr), nullptr);
    if (tooltip == nullptr) {
        return nullptr;
    }
    SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND underPoint = WindowFromPoint(point);
    const HintBounds bounds = MonitorBoundsAt(point);
    const int boundsWidth = bounds.right - bounds.left;
    const RECT textRect = CalcHintRect(boundsWidth, text, nullptr);
    const HintSize size =
        WithHintFrame(HintSize{textRect.right - textRect.left, textRect.bottom - textRect.top},
                      TooltipFrame(tooltip));
    POINT pointer{point.x, point.y};
    GetCursorPos(&pointer);
    const HintPoint placed = PlaceHint(HintPoint{point.x, point.y}, pointer.y, size, bounds);

    SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, boundsWidth);
    TTTOOLINFOW tool{};
    tool.cbSize = kHintToolRecordSize;
    tool.uFlags = TTF_SUBCLASS | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    tool.hwnd = underPoint;
    tool.uId = 0;
    tool.hinst = nullptr;
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    if (!SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
        // Common controls before version 6 (Windows 2000) refuse the
        // longer record; they take the one without lpReserved.
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        if (!SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
            DestroyWindow(tooltip);
            return nullptr;
        }
    }
    SendMessageW(tooltip, TTM_TRACKPOSITION, 0,
                 MAKELPARAM(static_cast<WORD>(placed.x), static_cast<WORD>(placed.y + 1)));
    SendMessageW(tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    return tooltip;
}

void InstallNativeHintWindow() {
    if (!liveHintWindows) {
        liveHintWindows = std::make_unique<std::vector<THintWindowFix*>>();
    }
    Application& application = Application::Instance();
    application.SetHintWindowFactory(
        [&application] { return std::make_unique<THintWindowFix>(application); });
    application.SetHideHintRoutine([] {
        if (liveHintWindows && !liveHintWindows->empty()) {
            liveHintWindows->front()->ReleaseHandle();
        }
    });
}

std::vector<THintWindowFix*> LiveHintWindows() {
    return liveHintWindows ? *liveHintWindows : std::vector<THintWindowFix*>();
}

HintSize MeasureHintLine(const std::wstring& text) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    HFONT font = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0)
                     ? CreateFontIndirectW(&metrics.lfStatusFont)
                     : nullptr;
    SIZE extent{};
    BOOL measured = FALSE;
    if (HDC dc = GetDC(nullptr)) {
        HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
        measured = GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        if (oldFont != nullptr) {
            SelectObject(dc, oldFont);
        }
        ReleaseDC(nullptr, dc);
    }
    if (font != nullptr) {
        DeleteObject(font);
    }
    return measured ? HintSize{extent.cx, extent.cy} : HintSize{};
}

HintSize MeasureHintText(const std::wstring& text, int lineGap) {
    return MeasureHintText(text, lineGap,
                           [](const std::wstring& line) { return MeasureHintLine(line); });
}

}  // namespace lumora
