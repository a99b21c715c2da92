// Double-buffered painting: a memory bitmap that a window paints into and
// that goes to the screen in one copy, and the label text printed into one.
#pragma once

#include <windows.h>

#include "ui/framework/ScopedGdi.h"

namespace lumora {

// A memory bitmap the size of |area| that a window paints into, with logical
// coordinates those of the window; copied to the target in one go.
class PaintBuffer {
  public:
    PaintBuffer(HDC target, const RECT& area);
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;

    bool Ready() const { return selected_.Selected(); }
    HDC Dc() const { return dc_.Get(); }
    void CopyToTarget() const;

  private:
    HDC target_;
    RECT area_;
    ScopedMemoryDc dc_;
    ScopedGdiObject<HBITMAP> bitmap_;
    ScopedSelect selected_;
};

void FillColor(HDC dc, const RECT& area, COLORREF color);

// The label control draws its text (and, when it is not transparent, its
// background) over what |dc| holds, in the label's own coordinates; a
// vertically centred label's text is moved down.
void PrintLabelText(HWND label, bool centre, HDC dc);

}  // namespace lumora
