// The program's own hint window: every control hint is shown in a native
// Windows tooltip (window class "tooltips_class32"), so hints take the
// system's visual style. The application keeps deciding when, where and with
// what text a hint is shown; THintWindowFix only creates and destroys the
// tooltip.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ui/HintPlacement.h"
#include "ui/framework/Application.h"

namespace lumora {

// The tool record sent with TTM_ADDTOOLW: the common controls 6 layout, which
// ends with lpReserved (48 bytes in the 32-bit program, 72 in a 64-bit build).
inline constexpr UINT kHintToolRecordSize =
    static_cast<UINT>(offsetof(TTTOOLINFOW, lpReserved) + sizeof(void*));
#if !defined(_WIN64)
static_assert(kHintToolRecordSize == 48, "the 32-bit tool record is 48 bytes");
#else
static_assert(kHintToolRecordSize == 72, "the 64-bit tool record is 72 bytes");
#endif
static_assert(kHintToolRecordSize == sizeof(TTTOOLINFOW), "the header's record has lpReserved");

class THintWindowFix final : public HintWindow {
  public:
    // Takes over |owner|'s hint-change handler, sets its hint timings from the
    // double-click time and joins the live hint windows.
    explicit THintWindowFix(Application& owner);
    // Leaves the live hint windows, gives the owner back the handler it had,
    // and destroys the tooltip if one is shown.
    ~THintWindowFix() override;
    THintWindowFix(const THintWindowFix&) = delete;
    THintWindowFix& operator=(const THintWindowFix&) = delete;

    // The size of the text as the tooltip draws it; |maxWidth| and |data| are
    // not used.
    RECT CalcHintRect(int maxWidth, const std::wstring& text, void* data) override;
    // Shows the text in a new tooltip at the rectangle's top-left corner; the
    // tooltip already showing the same text is kept.
    void ActivateHint(const RECT& rect, const std::wstring& text) override;
    // Destroys the tooltip, if there is one.
    void ReleaseHandle() override;

    HWND TooltipHandle() const { return tooltip_; }
    // The text of the last activation.
    const std::wstring& Text() const { return text_; }

  private:
    void DestroyTooltip();
    HWND CreateNativeTooltip(POINT point, const std::wstring& text);
    // The owner's hint-change handler while this object lives.
    void ApplicationHintChanged();

    Application& owner_;
    std::function<void()> OldAppHintHandler;
    HWND tooltip_ = nullptr;
    std::wstring text_;
};

// Makes THintWindowFix the application's hint window from the next hint on,
// and lets the application hide hints by destroying the first live hint
// window's tooltip. Called once at start-up, before any window exists.
void InstallNativeHintWindow();

// The THintWindowFix objects alive, in order of construction; empty before
// InstallNativeHintWindow.
std::vector<THintWindowFix*> LiveHintWindows();

// The size of one line in the screen's hint font (the status font of the
// non-client metrics); 0 by 0 when it cannot be measured.
HintSize MeasureHintLine(const std::wstring& text);
// The size of a text whose lines are separated by CR LF, in the hint font.
HintSize MeasureHintText(const std::wstring& text, int lineGap);

}  // namespace lumora
