// Static text; link labels included. Sized to its text unless it wraps. A
// label is clicked by a press and a release on it (see the form's
// ControlMessage), not by the static control's notification, which comes
// when the button goes down.
#pragma once

#include "ui/framework/Control.h"

namespace lumora {

class Label : public TextControl, public PointerEvents {
  public:
    struct Args : ControlArgs {
        FontSpec font;              // its own design font, unless parentFont
        bool parentFont = false;    // takes the window's font
        bool rightAligned = false;  // the right edge stays, the label grows to the left
        bool wordWrap = false;      // fixed size, words wrapped; otherwise sized to its text
        bool showAccelChar = true;  // "&" marks a mnemonic; false shows it literally
        bool transparent = true;
        bool centreVertically =
            false;  // a word-wrapped label's text block in the middle of its height
    };
    void Create(FormWindow& form, const Args& args);

    ComponentKind Kind() const override { return ComponentKind::Label; }
    void SetCaption(const std::wstring& text) override;
    // Painted by the framework: centred vertically or through a memory bitmap.
    bool PaintsItself() const { return centreVertically_ || doubleBuffered_; }

  protected:
    friend class FormWindow;
    Event* EventOf(EventKind kind) override { return PointerEvent(*this, kind); }
    // A label without a cursor of its own shows its panel's.
    CursorKind Cursor() const override;
    void FontShown() override;
    HBRUSH SetColorsAndGetBrush(HDC dc) override;
    void SettleLayout() const override;
    void MakeWindow(HDC measure) override;
    // Sizes an auto-sized label to its text, measured on |measure| or, when
    // null, on the label's own device context.
    void Resize(HDC measure = nullptr) const;
    // The place of an auto-sized label whose text, measured on |measure| in
    // |font| (the default GUI font when null), grows from its left edge, or
    // to the left when it is right-aligned.
    RECT AutoPlace(HDC measure, HFONT font) const;
    void RepaintBeneath(const RECT& before) const;

    DWORD style_ = 0;  // of the static control
    bool autoSize_ = true;
    bool rightAligned_ = false;
    bool transparent_ = true;
    bool centreVertically_ = false;
    bool doubleBuffered_ = false;
    mutable bool layoutPending_ = false;  // to be sized when the window shows
};

}  // namespace lumora
