#include "ui/framework/BufferedPaint_win.h"

#include <algorithm>
#include <string>

#include "ui/framework/WindowClass_win.h"

namespace lumora {

PaintBuffer::PaintBuffer(HDC target, const RECT& area)
    : target_(target),
      area_(area),
      dc_(target),
      bitmap_(CreateCompatibleBitmap(target, std::max<LONG>(area.right - area.left, 1),
                                     std::max<LONG>(area.bottom - area.top, 1))),
      selected_(dc_.Get(), bitmap_.Get()) {
    if (selected_.Selected()) {
        SetViewportOrgEx(dc_.Get(), -area.left, -area.top, nullptr);
    }
}

void PaintBuffer::CopyToTarget() const {
    SetViewportOrgEx(dc_.Get(), 0, 0, nullptr);
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
           dc_.Get(), 0, 0, SRCCOPY);
}

void FillColor(HDC dc, const RECT& area, COLORREF color) {
    const ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(color));
    FillRect(dc, &area, brush.Get());
}

namespace {

// How far a vertically centred label's text block moves down: half the room
// it leaves. A text taller than the label starts at its top.
int CentringOffset(HWND label, HDC dc, int width, int height) {
    const std::wstring text = WindowText(label);
    const LONG style = GetWindowLongW(label, GWL_STYLE);
    const ScopedSelect font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT block{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &block,
              DT_CALCRECT | DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK |
                  ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
    return std::max(0, (height - static_cast<int>(block.bottom - block.top)) / 2);
}

}  // namespace

void PrintLabelText(HWND label, bool centre, HDC dc) {
    RECT client{};
    GetClientRect(label, &client);
    const int down = centre ? CentringOffset(label, dc, client.right, client.bottom) : 0;
    if (down == 0) {
        SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        return;
    }
    // The control draws at its top: it draws on a copy of what lies lower,
    // and the copy goes back down.
    PaintBuffer shifted(dc, client);
    if (!shifted.Ready()) {
        return;
    }
    const int rows = client.bottom - down;
    BitBlt(shifted.Dc(), 0, 0, client.right, rows, dc, 0, down, SRCCOPY);
    SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shifted.Dc()), PRF_CLIENT);
    BitBlt(dc, 0, down, client.right, rows, shifted.Dc(), 0, 0, SRCCOPY);
}

}  // namespace lumora
