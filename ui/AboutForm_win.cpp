#include "ui/AboutForm.h"

#include <string>

#include "common/Version.h"
#include "platform/Shell.h"
#include "platform/ShellAddresses.h"
#include "platform/Sound.h"
#include "resources/ResourceIds.h"
#include "ui/PrepareForm.h"
#include "ui/framework/Application.h"
#include "ui/framework/WindowClasses.h"
#include "ui/text/CaptionSections.h"

namespace lumora {

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr COLORREF kLinkBlue = RGB(0, 102, 204);
constexpr COLORREF kWhite = RGB(255, 255, 255);
}  // namespace

TLMAboutForm::TLMAboutForm() : FormWindow(kAboutFormSection, kAboutFormClass) {}

bool TLMAboutForm::Create(HWND owner) {
    if (!CreateForm(L"", kStyle, 0, 700, 441, owner)) {
        return false;
    }
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    Add(aboutPanel_, {{L"AboutPanel", 0, 0, 700, 386}, window});
    Panel* const panel = &aboutPanel_;
    Add(largeIcon_, {{L"LargeIcon", 372, 130, 256, 256, panel}, IDB_ABOUT_ICON});
    Add(versionLabel_, {{L"VersionLabel", 72, 82, 0, 0, panel},
                        FontSpec{L"Tahoma", 10, kFontBold, kDefaultTextColor}});
    Label::Args copyright{{L"CopyrightLabel", 72, 101, 0, 0, panel}};
    copyright.parentFont = true;
    Add(copyrightLabel_, copyright);
    Add(licenseAgreementLabel_,
        {{L"LicenseAgreementLabel", 72, 287, 0, 0, panel, CursorKind::HandPoint},
         FontSpec{L"Tahoma", 8, 0, kLinkBlue}});
    Label::Args warning{{L"CopyrightWarningLabel", 81, 306, 556, 70, panel}};
    warning.parentFont = true;
    warning.wordWrap = true;
    warning.centreVertically = true;
    Add(copyrightWarningLabel_, warning);
    Add(bannerImage_, {{L"BannerImage", 0, 0, 700, 60, panel}, IDB_ABOUT_BANNER});
    Add(bannerLabel_,
        {{L"BannerLabel", 48, 18, 0, 0, panel}, FontSpec{L"Tahoma", 12, kFontBold, kWhite}});
    Add(licensedMemo_, {{L"LicensedMemo", 72, 136, 556, 73, panel}, window});
    Add(aboutBevel_, {{L"AboutBevel", 0, 386, 700, 5}});
    PushButton::Args close{{L"CloseButton", 608, 403, 79, 25}};
    close.isDefault = true;
    Add(closeButton_, close);
    Add(helpButton_, {{L"HelpButton", 14, 403, 79, 25}});
    SetTabOrder({&closeButton_, &licensedMemo_, &helpButton_});

    // The modal loop ends on closed_, gives the activation back to the main
    // window and only then hides the box.
    closeButton_.onClick = [this] { closed_ = true; };
    helpButton_.onClick = [this] { HelpButtonClick(); };
    licenseAgreementLabel_.onClick = [this] { LicenseAgreementLabelClick(); };
    licenseAgreementLabel_.onMouseEnter = [this] { licenseAgreementLabel_.SetUnderline(true); };
    licenseAgreementLabel_.onMouseLeave = [this] { licenseAgreementLabel_.SetUnderline(false); };
    return true;
}

void TLMAboutForm::ShowModalOver(HWND owner) {
    closed_ = false;
    CentreOver(owner);
    Application::Instance().RunModal(Handle(), [this] { return closed_; });
}

void TLMAboutForm::FormShow() {
    // The version label is made afresh from its caption at every showing:
    // emptied first, so that without a caption row it shows the version
    // alone, once.
    versionLabel_.SetCaption(std::wstring());
    PrepareForm(*this);
    versionLabel_.SetCaption(versionLabel_.Caption() + kProgramVersion + L")");
    SetFocus(closeButton_.Handle());
}

void TLMAboutForm::OnCancel(CancelBy how) {
    if (how == CancelBy::CloseRequest) {
        closed_ = true;
        // Wakes the modal loop when the request was sent from elsewhere.
        PostMessageW(Handle(), WM_NULL, 0, 0);
    }
}

void TLMAboutForm::HelpButtonClick() {
    if (const auto& shortCut = Application::Instance().ShortCut()) {
        bool handled = false;
        shortCut(VK_F1, handled);
    }
}

void TLMAboutForm::LicenseAgreementLabelClick() {
    PlayClickSound();
    ExecuteFile(ProgramFolder() + kLicenseFileName, L"");
}

}  // namespace lumora
