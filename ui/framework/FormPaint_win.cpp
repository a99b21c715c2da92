// The window's painting: its windowless controls, and, when it is double-
// buffered, itself, its panels and its labels through memory bitmaps.
#include <windows.h>

#include "ui/framework/BufferedPaint_win.h"
#include "ui/framework/FormWindow.h"

namespace lumora {

void FormWindow::PaintWindowless(HWND parent, HDC dc) const {
    for (const Control* control : controls_) {
        if (control->IsWindowless() && ParentHandleOf(*control) == parent) {
            control->Draw(dc, control->Bounds());
        }
    }
}

COLORREF FormWindow::BackgroundOf(HWND window) const {
    const auto* panel = dynamic_cast<const Panel*>(FromHandle(window));
    return panel != nullptr ? panel->Color() : GetSysColor(COLOR_BTNFACE);
}

void FormWindow::PaintBuffered(HWND window, HDC target, const RECT& area) const {
    PaintBuffer buffer(target, area);
    if (!buffer.Ready()) {
        return;
    }
    HDC dc = buffer.Dc();
    FillColor(dc, area, BackgroundOf(window));
    PaintWindowless(window, dc);
    for (const Control* control : controls_) {
        const auto* label = dynamic_cast<const Label*>(control);
        if (label == nullptr || label->hwnd_ == nullptr || ParentHandleOf(*label) != window ||
            !IsWindowVisible(label->hwnd_)) {
            continue;
        }
        const RECT bounds = label->Bounds();
        RECT overlap{};
        if (!IntersectRect(&overlap, &bounds, &area)) {
            continue;
        }
        const int width = bounds.right - bounds.left;
        const int height = bounds.bottom - bounds.top;
        PaintBuffer text(dc, RECT{0, 0, width, height});
        if (text.Ready()) {
            BitBlt(text.Dc(), 0, 0, width, height, dc, bounds.left, bounds.top, SRCCOPY);
            PrintLabelText(label->hwnd_, label->centreVertically_, text.Dc());
            BitBlt(dc, bounds.left, bounds.top, width, height, text.Dc(), 0, 0, SRCCOPY);
        }
    }
    // The other child windows keep what they show.
    for (const Control* control : controls_) {
        if (dynamic_cast<const Label*>(control) == nullptr && control->hwnd_ != nullptr &&
            ParentHandleOf(*control) == window && IsWindowVisible(control->hwnd_)) {
            const RECT bounds = control->Bounds();
            ExcludeClipRect(target, bounds.left, bounds.top, bounds.right, bounds.bottom);
        }
    }
    buffer.CopyToTarget();
}

void FormWindow::PaintLabel(Label& label) const {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(label.hwnd_, &ps);
    if (target == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(label.hwnd_, &client);
    PaintBuffer buffer(target, client);
    if (buffer.Ready()) {
        // What lies beneath the label, then its text.
        HWND parent = ParentHandleOf(label);
        const RECT bounds = label.Bounds();
        HDC dc = buffer.Dc();
        SetViewportOrgEx(dc, -bounds.left, -bounds.top, nullptr);
        FillColor(dc, bounds, BackgroundOf(parent));
        PaintWindowless(parent, dc);
        SetViewportOrgEx(dc, 0, 0, nullptr);
        PrintLabelText(label.hwnd_, label.centreVertically_, dc);
        buffer.CopyToTarget();
    }
    EndPaint(label.hwnd_, &ps);
}

}  // namespace lumora
