// The window framework's forms in the test's own process under Wine: popup
// menus and caption rows, the shared fonts, labels sized while hidden, the
// one cancel path, and control hints.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/framework/Application.h"
#include "ui/framework/FormWindow.h"
#include "ui/text/CaptionResource.h"
#include "ui/text/CaptionTable.h"

namespace lumora {
namespace {

// Dispatches what waits, painting included, until nothing is left.
void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

// A window with the main window's help menu.
class MenuForm : public FormWindow {
  public:
    MenuForm() : FormWindow(L"LMMainForm", L"TLumoraMenuTestForm") {}
    bool Create() {
        if (!CreateForm(L"", WS_POPUP | WS_CAPTION, 0, 200, 100, nullptr)) {
            return false;
        }
        Add(popup, {{L"PopupMenu"}});
        Add(helpFilePopup_, {{L"HelpFilePopup"}, &popup});
        popup.AddSeparator();
        Add(techSupportPopup_, {{L"TechSupportPopup"}, &popup});
        return true;
    }
    PopupMenu popup;

  private:
    MenuItem helpFilePopup_;
    MenuItem techSupportPopup_;
};

std::wstring MenuText(HMENU menu, UINT position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    return text;
}

// The popup menu owns its items and is not one: a caption row keyed with
// its name changes nothing, the separator stays, and the rows after it are
// applied.
TEST(PopupMenuTest, ARowForTheMenuItselfHasNoEffect) {
    MenuForm form;
    ASSERT_TRUE(form.Create());
    const PopupMenu& popup = form.popup;
    const std::optional<std::wstring> shipped = ReadCaptionResource(L"english");
    ASSERT_TRUE(shipped.has_value());
    ApplyCaptionsTo(
        L"LMMainForm, PopupMenu, \"Help menu\"\r\n"
        L"LMMainForm, popupmenu, \"Help menu\"\r\n"
        L"LMMainForm, PopupMenu\r\n" +
            *shipped,
        form);

    HMENU menu = popup.Menu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(MenuText(menu, 0), L"Get &help with Lumora");
    MENUITEMINFOW separator{};
    separator.cbSize = sizeof(separator);
    separator.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 1, TRUE, &separator));
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
    EXPECT_EQ(MenuText(menu, 1), L"");
    EXPECT_EQ(MenuText(menu, 2), L"&Contact technical support");
}

// A window with labels in a few font designs.
class LabelForm : public FormWindow {
  public:
    LabelForm() : FormWindow(L"LMLabelForm", L"TLumoraLabelTestForm") {}
    bool Create() {
        if (!CreateForm(L"", WS_POPUP | WS_CAPTION, 0, 400, 200, nullptr)) {
            return false;
        }
        Add(grey, {{L"Grey", 10, 10}, FontSpec{L"Tahoma", 8, 0, RGB(110, 118, 128)}});
        Add(black, {{L"Black", 10, 40}, FontSpec{L"Tahoma", 8, 0, RGB(0, 0, 0)}});
        Add(bold, {{L"Bold", 10, 70}, FontSpec{L"Tahoma", 8, kFontBold, RGB(0, 0, 0)}});
        Label::Args right{{L"Right", 10, 100, 300, 0}, FontSpec{L"Tahoma", 8, 0, RGB(0, 0, 0)}};
        right.rightAligned = true;
        Add(rightAligned, right);
        return true;
    }
    Label grey;
    Label black;
    Label bold;
    Label rightAligned;
};

HFONT FontOf(const Control& control) {
    return reinterpret_cast<HFONT>(SendMessageW(control.Handle(), WM_GETFONT, 0, 0));
}

bool IsFont(HFONT font) {
    LOGFONTW logFont{};
    return GetObjectW(font, sizeof(logFont), &logFont) == static_cast<int>(sizeof(logFont));
}

// How wide a label's text is in the font it shows.
int TextWidth(const Label& label) {
    const std::wstring text = TextOf(label.Handle());
    HDC dc = GetDC(label.Handle());
    HGDIOBJ old = SelectObject(dc, FontOf(label));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(label.Handle(), dc);
    return size.cx;
}

// Labels of one design show one font whatever their colours; another design
// has a font of its own. A design shown again (a link underlined and back)
// is the same font, a font still shown stays when the window's font changes,
// and the fonts go with the window.
TEST(FormFontsTest, ControlsOfOneDesignShareOneFont) {
    HFONT plain = nullptr;
    {
        LabelForm form;
        ASSERT_TRUE(form.Create());
        plain = FontOf(form.black);
        ASSERT_TRUE(IsFont(plain));
        EXPECT_EQ(FontOf(form.grey), plain);
        EXPECT_NE(FontOf(form.bold), plain);

        form.black.SetUnderline(true);
        const HFONT underlined = FontOf(form.black);
        EXPECT_NE(underlined, plain);
        LOGFONTW logFont{};
        ASSERT_EQ(GetObjectW(underlined, sizeof(logFont), &logFont),
                  static_cast<int>(sizeof(logFont)));
        EXPECT_TRUE(logFont.lfUnderline);
        form.black.SetUnderline(false);
        EXPECT_EQ(FontOf(form.black), plain);

        form.FollowDesktopFont();
        EXPECT_TRUE(IsFont(plain));
        EXPECT_EQ(FontOf(form.grey), plain);
    }
    EXPECT_FALSE(IsFont(plain));
}

// Texts and fonts given while the window is hidden size the labels once it
// shows, or once their bounds are asked for: each label is as wide as its
// text, and the right-aligned one keeps its right edge.
TEST(FormFontsTest, LabelsChangedWhileHiddenAreSizedWhenTheWindowShows) {
    LabelForm form;
    ASSERT_TRUE(form.Create());
    form.grey.SetCaption(L"A longer text than the label had");
    form.bold.SetFont(FontSpec{L"Tahoma", 12, kFontBold, RGB(0, 0, 0)});
    form.bold.SetCaption(L"Bold");
    form.rightAligned.SetCaption(L"Right");
    form.black.SetCaption(L"Black");
    const RECT asked = form.black.Bounds();
    EXPECT_EQ(asked.right - asked.left, TextWidth(form.black));

    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    Pump();
    for (const Label* label : {&form.grey, &form.black, &form.bold, &form.rightAligned}) {
        SCOPED_TRACE(testing::Message() << label->Name());
        RECT shown{};
        GetWindowRect(label->Handle(), &shown);
        EXPECT_GT(shown.right - shown.left, 0);
        EXPECT_EQ(shown.right - shown.left, TextWidth(*label));
    }
    RECT right{};
    GetWindowRect(form.rightAligned.Handle(), &right);
    MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&right), 2);
    EXPECT_EQ(right.right, 310);
}

// A window whose components are held without their windows until their
// texts and fonts are set.
class HeldForm : public FormWindow {
  public:
    HeldForm() : FormWindow(L"LMHeldForm", L"TLumoraHeldTestForm") {}
    bool Create() {
        if (!CreateForm(L"", WS_POPUP | WS_CAPTION, 0, 400, 300, nullptr)) {
            return false;
        }
        HoldWindows();
        Add(panel, {{L"Panel", 0, 0, 400, 300}, RGB(255, 255, 255)});
        Add(plain, {{L"Plain", 10, 10, 0, 0, &panel}, FontSpec{L"Tahoma", 8, 0, RGB(0, 0, 0)}});
        Label::Args right{{L"Right", 10, 40, 300, 0, &panel},
                          FontSpec{L"Tahoma", 8, 0, RGB(0, 0, 0)}};
        right.rightAligned = true;
        Add(rightAligned, right);
        Label::Args wrapped{{L"Wrapped", 10, 70, 200, 40, &panel},
                            FontSpec{L"Tahoma", 8, 0, RGB(0, 0, 0)}};
        wrapped.wordWrap = true;
        Add(wordWrapped, wrapped);
        Add(list, {{L"List", 10, 120, 150, 22, &panel}, {L"One", L"Two"}, {}, {}});
        Add(button, {{L"Button", 200, 120, 100, 25, &panel}});
        button.SetEnabled(false);
        Add(memo, {{L"Memo", 10, 160, 200, 60, &panel}});
        SetTabOrder({&button, &list});
        return true;
    }
    using FormWindow::MakeHeldWindows;
    Panel panel;
    Label plain;
    Label rightAligned;
    Label wordWrapped;
    ComboBox list;
    PushButton button;
    Memo memo;
};

// Held components have no windows. Once made, each window has the text,
// font and state set meanwhile and, for a label sized to its text, its
// size, before the window shows; the keyboard order set meanwhile comes
// first among the panel's children, the rest in the order of ownership.
TEST(FormFontsTest, HeldWindowsAreMadeWithWhatWasSetMeanwhile) {
    HeldForm form;
    ASSERT_TRUE(form.Create());
    for (const Control* control :
         {static_cast<const Control*>(&form.panel), static_cast<const Control*>(&form.plain),
          static_cast<const Control*>(&form.list), static_cast<const Control*>(&form.button),
          static_cast<const Control*>(&form.memo)}) {
        EXPECT_EQ(control->Handle(), nullptr) << control->Name();
    }
    form.plain.SetCaption(L"A plain label");
    form.rightAligned.SetCaption(L"Right");
    form.wordWrapped.SetCaption(L"Words that wrap");
    form.plain.SetFont(FontSpec{L"Tahoma", 12, kFontBold, RGB(0, 0, 0)});
    form.button.SetCaption(L"&Press");
    form.memo.SetLines(L"First line\r\nSecond line");
    EXPECT_EQ(form.memo.Lines(), L"First line\r\nSecond line");
    form.MakeHeldWindows();

    EXPECT_EQ(TextOf(form.plain.Handle()), L"A plain label");
    EXPECT_EQ(TextOf(form.button.Handle()), L"&Press");
    EXPECT_EQ(form.memo.Lines(), L"First line\r\nSecond line");
    EXPECT_FALSE(IsWindowEnabled(form.button.Handle()));
    EXPECT_EQ(SendMessageW(form.list.Handle(), CB_GETCOUNT, 0, 0), 2);
    LOGFONTW shown{};
    ASSERT_EQ(GetObjectW(FontOf(form.plain), sizeof(shown), &shown),
              static_cast<int>(sizeof(shown)));
    EXPECT_EQ(shown.lfWeight, FW_BOLD);
    for (const Label* label : {&form.plain, &form.rightAligned}) {
        SCOPED_TRACE(testing::Message() << label->Name());
        RECT made{};
        GetWindowRect(label->Handle(), &made);
        EXPECT_EQ(made.right - made.left, TextWidth(*label));
    }
    RECT right{};
    GetWindowRect(form.rightAligned.Handle(), &right);
    MapWindowPoints(nullptr, form.panel.Handle(), reinterpret_cast<POINT*>(&right), 2);
    EXPECT_EQ(right.right, 310);
    RECT wrapped{};
    GetWindowRect(form.wordWrapped.Handle(), &wrapped);
    EXPECT_EQ(wrapped.right - wrapped.left, 200);
    EXPECT_EQ(wrapped.bottom - wrapped.top, 40);

    std::vector<HWND> order;
    for (HWND child = GetWindow(form.panel.Handle(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        order.push_back(child);
    }
    const std::vector<HWND> expected{form.button.Handle(),      form.list.Handle(),
                                     form.plain.Handle(),       form.rightAligned.Handle(),
                                     form.wordWrapped.Handle(), form.memo.Handle()};
    EXPECT_EQ(order, expected);

    // Showing moves nothing.
    RECT before{};
    GetWindowRect(form.plain.Handle(), &before);
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    Pump();
    RECT after{};
    GetWindowRect(form.plain.Handle(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

// A form that records how it was asked to cancel, or takes the framework's
// own answer.
class CancelForm : public FormWindow {
  public:
    explicit CancelForm(bool record)
        : FormWindow(L"LMCancelForm", L"TLumoraCancelTestForm"), record_(record) {}
    bool Create() { return CreateForm(L"", WS_POPUP | WS_CAPTION, 0, 200, 100, nullptr); }
    std::vector<CancelBy> asked;

  protected:
    void OnCancel(CancelBy how) override {
        asked.push_back(how);
        if (!record_) {
            FormWindow::OnCancel(how);
        }
    }

  private:
    bool record_;
};

// Esc (IDCANCEL from the dialog manager) and a close request reach one
// OnCancel, told apart; the framework's own answer ignores Esc and destroys
// the window on a close request.
TEST(CancelTest, EscAndCloseRequestsReachOnCancel) {
    CancelForm recording(true);
    ASSERT_TRUE(recording.Create());
    SendMessageW(recording.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    SendMessageW(recording.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(recording.Handle()));
    using By = FormWindow::CancelBy;
    EXPECT_EQ(recording.asked, (std::vector<By>{By::EscapeKey, By::CloseRequest}));

    CancelForm plain(false);
    ASSERT_TRUE(plain.Create());
    HWND window = plain.Handle();
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(window));
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

// A hint window that records what it is asked to show.
struct RecordingHintWindow : HintWindow {
    explicit RecordingHintWindow(std::vector<std::wstring>& shown) : shown_(shown) {}
    RECT CalcHintRect(int, const std::wstring&, void*) override { return RECT{0, 0, 50, 16}; }
    void ActivateHint(const RECT&, const std::wstring& text) override { shown_.push_back(text); }
    void ReleaseHandle() override {}
    std::vector<std::wstring>& shown_;
};

class HintForm : public FormWindow {
  public:
    HintForm() : FormWindow(L"LMHintForm", L"TLumoraHintTestForm") {}
    bool Create() {
        if (!CreateForm(L"", WS_POPUP | WS_CAPTION, 0, 300, 100, nullptr)) {
            return false;
        }
        go.SetHint(L"Go|Optimizes the settings");
        Add(go, {{L"GoButton", 10, 10, 80, 25}});
        Add(plain, {{L"PlainButton", 100, 10, 80, 25}});
        return true;
    }
    PushButton go;
    PushButton plain;
};

// A control's hint reaches the application's hint window as the pointer
// moves over it, its short part shown; a control without one (or whose hint
// is cleared) has none.
TEST(HintTest, AControlsHintIsShownWhileThePointerIsOnIt) {
    Application& app = Application::Instance();
    std::vector<std::wstring> shown;
    app.SetHintWindowFactory([&shown] { return std::make_unique<RecordingHintWindow>(shown); });
    app.SetHintTimings(1, 1, 60000);
    HintForm form;
    ASSERT_TRUE(form.Create());

    const auto moveOver = [&app](const PushButton& button) {
        PostMessageW(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        app.ProcessMessages();
    };
    moveOver(form.go);
    EXPECT_EQ(app.Hint(), L"Go|Optimizes the settings");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (shown.empty() && std::chrono::steady_clock::now() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        app.ProcessMessages();
    }
    EXPECT_EQ(shown, std::vector<std::wstring>{L"Go"});

    moveOver(form.plain);
    EXPECT_EQ(app.Hint(), L"");
    form.go.SetHint(L"");
    moveOver(form.go);
    EXPECT_EQ(app.Hint(), L"");
    form.go.SetHint(L"Again");
    moveOver(form.go);
    EXPECT_EQ(app.Hint(), L"Again");

    app.CancelHint();
    app.SetHintWindowFactory(nullptr);
}

}  // namespace
}  // namespace lumora
