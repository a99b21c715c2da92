// The about box: the program's name and version, the copyright line, the
// credits, the licence link, a copyright warning, Help and Close. Created
// hidden at start-up and shown modally over the main window.
#pragma once

#include "ui/framework/FormWindow.h"

namespace lumora {

class TLMAboutForm : public FormWindow {
  public:
    TLMAboutForm();
    bool Create(HWND owner);
    void ShowModalOver(HWND owner);

  protected:
    void FormShow() override;
    // The close box ends the box as Close does; Esc does not.
    void OnCancel(CancelBy how) override;

  private:
    void HelpButtonClick();
    void LicenseAgreementLabelClick();

    Panel aboutPanel_;
    Image largeIcon_;
    Label versionLabel_;
    Label copyrightLabel_;
    Label licenseAgreementLabel_;
    Label copyrightWarningLabel_;
    Image bannerImage_;
    Label bannerLabel_;
    Memo licensedMemo_;
    Bevel aboutBevel_;
    PushButton closeButton_;
    PushButton helpButton_;
    bool closed_ = false;
};

}  // namespace lumora
