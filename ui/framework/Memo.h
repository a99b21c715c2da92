// A read-only multi-line edit box in a colour of its own. It raises no
// events.
#pragma once

#include "ui/framework/Control.h"

namespace lumora {

class Memo : public Control {
  public:
    struct Args : ControlArgs {
        COLORREF color = CLR_INVALID;
    };
    void Create(FormWindow& form, const Args& args);

    ComponentKind Kind() const override { return ComponentKind::MultiLineEdit; }
    std::wstring Lines() const override;
    void SetLines(const std::wstring& text) override;
    bool HasFont() const override { return true; }
    COLORREF Color() const { return color_ != CLR_INVALID ? color_ : GetSysColor(COLOR_WINDOW); }

  protected:
    HBRUSH SetColorsAndGetBrush(HDC dc) override {
        SetBkColor(dc, Color());
        return brush_.Of(Color());
    }
    void MakeWindow(HDC measure) override;

    COLORREF color_ = CLR_INVALID;
    SolidBrush brush_;
    std::wstring heldLines_;  // the text while the window is held
};

}  // namespace lumora
