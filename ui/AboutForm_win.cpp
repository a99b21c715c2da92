#include "ui/AboutForm.h"

#include <string>

#include "common/Version.h"
#include "platform/Shell.h"
#include "platform/ShellAddresses.h"
#include "platform/Sound.h"
#include "resources/ResourceIds.h"
#include "ui/Application.h"
#include "ui/Captions.h"
#include "ui/SystemFont.h"
#include "ui/WindowClasses.h"

namespace lumora {

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr COLORREF kLinkBlue = RGB(0, 102, 204);
constexpr COLORREF kWhite = RGB(255, 255, 255);
}  // namespace

TLMAboutForm::TLMAboutForm() : FormWindow(L"LMAboutForm", kAboutFormClass) {}

bool TLMAboutForm::Create(HWND owner) {
    if (!CreateForm(L"", kStyle, 0, 700, 441, owner)) {
        return false;
    }
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    AddPanel({{L"AboutPanel", 0, 0, 700, 386}, window});
    AddImage({{L"LargeIcon", 372, 130, 256, 256, L"AboutPanel"}, IDB_ABOUT_ICON});
    AddLabel({{L"VersionLabel", 72, 82, 0, 0, L"AboutPanel"},
              FontSpec{L"Tahoma", 10, kFontBold, kDefaultTextColor}});
    LabelArgs copyright{{L"CopyrightLabel", 72, 101, 0, 0, L"AboutPanel"}};
    copyright.parentFont = true;
    AddLabel(copyright);
    AddLabel({{L"LicenseAgreementLabel", 72, 287, 0, 0, L"AboutPanel", CursorKind::HandPoint},
              FontSpec{L"Tahoma", 8, 0, kLinkBlue}});
    LabelArgs warning{{L"CopyrightWarningLabel", 81, 306, 556, 70, L"AboutPanel"}};
    warning.parentFont = true;
    warning.wordWrap = true;
    warning.centreVertically = true;
    AddLabel(warning);
    AddImage({{L"BannerImage", 0, 0, 700, 60, L"AboutPanel"}, IDB_ABOUT_BANNER});
    AddLabel({{L"BannerLabel", 48, 18, 0, 0, L"AboutPanel"},
              FontSpec{L"Tahoma", 12, kFontBold, kWhite}});
    AddMemo({{L"LicensedMemo", 72, 136, 556, 73, L"AboutPanel"}, window});
    AddBevel({{L"AboutBevel", 0, 386, 700, 5}});
    ButtonArgs close{{L"CloseButton", 608, 403, 79, 25}};
    close.isDefault = true;
    AddButton(close);
    AddButton({{L"HelpButton", 14, 403, 79, 25}});
    SetTabOrder({L"CloseButton", L"LicensedMemo", L"HelpButton"});

    auto bind = [this](const wchar_t* name, ControlEvent event,
                       void (TLMAboutForm::*handler)(Control&)) {
        // cppcheck-suppress constParameter ; handlers may change their sender
        Bind(name, event, [this, handler](Control& sender) {
            try {
                (this->*handler)(sender);
            } catch (...) {
            }
        });
    };
    Bind(L"CloseButton", ControlEvent::Click, [this](Control&) {
        closed_ = true;
        Hide();
    });
    bind(L"HelpButton", ControlEvent::Click, &TLMAboutForm::HelpButtonClick);
    bind(L"LicenseAgreementLabel", ControlEvent::Click, &TLMAboutForm::LicenseAgreementLabelClick);
    bind(L"LicenseAgreementLabel", ControlEvent::MouseEnter,
         &TLMAboutForm::LicenseAgreementLabelMouseEnter);
    bind(L"LicenseAgreementLabel", ControlEvent::MouseLeave,
         &TLMAboutForm::LicenseAgreementLabelMouseLeave);
    return true;
}

void TLMAboutForm::ShowModalOver(HWND owner) {
    closed_ = false;
    CentreOver(owner);
    Application::Instance().RunModal(Handle(), [this] { return closed_; });
}

void TLMAboutForm::FormShow() {
    FollowDesktopFont();
    NormalizeFormFonts(*this);
    // The version label is made afresh from its caption at every showing:
    // emptied first, so that without a caption row it shows the version
    // alone, once.
    Control& version = Get(L"VersionLabel");
    version.SetCaption(std::wstring());
    LoadFormCaptions(*this);
    version.SetCaption(version.Caption() + kProgramVersion + L")");
    if (Control* close = Find(L"CloseButton")) {
        SetFocus(close->Handle());
    }
}

LRESULT TLMAboutForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        closed_ = true;
        Hide();
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        closed_ = true;
        Hide();
        return 0;
    }
    return FormWindow::HandleMessage(message, wParam, lParam);
}

void TLMAboutForm::HelpButtonClick(Control& /*sender*/) {
    if (const auto& shortCut = Application::Instance().ShortCut()) {
        bool handled = false;
        shortCut(VK_F1, handled);
    }
}

void TLMAboutForm::LicenseAgreementLabelClick(Control& /*sender*/) {
    PlayClickSound();
    ExecuteFile(ProgramFolder() + kLicenseFileName, L"");
}

void TLMAboutForm::LicenseAgreementLabelMouseEnter(Control& sender) {
    sender.SetUnderline(true);
}

void TLMAboutForm::LicenseAgreementLabelMouseLeave(Control& sender) {
    sender.SetUnderline(false);
}

}  // namespace lumora
