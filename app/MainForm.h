// The main window: the user's four choices, the optimize and restore
// buttons, the links, the help menu and the version and last-update lines.
#pragma once

#include "ui/framework/FormWindow.h"

namespace lumora {

class RunView;
class TLMAboutForm;
class TLMSettingsForm;

class TLMMainForm : public FormWindow {
  public:
    TLMMainForm();
    bool Create();
    // The dialogs it shows and whose visibility F1 looks at.
    void SetDialogs(TLMAboutForm* aboutForm, TLMSettingsForm* settingsForm);

    // Every keyboard shortcut of the application: F1 opens the help.
    void ApplicationEventsShortCut(WORD key, bool& handled);

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    friend class MainFormRunView;
    void AddComponents();
    void BindEvents();
    void FormCreate();

    void GoButtonClick();
    void RestoreButtonClick();
    void NavButton1Click();
    void NavButton2Click();
    void NavButton3Click();
    void NavButton4Click();
    void HelpFilePopupClick();
    void UpdatesButtonClick();

    // A navigation button: its image and the label drawn over it, which is
    // underlined while the pointer is over either.
    struct NavButton {
        Image image;
        Label label;
    };

    Image backgroundImage_;
    Image topLogoImage_;
    NavButton nav_[4];
    Label navLabel2_;
    Label linkLabel4_;
    Label linkLabel5_;
    Label linkLabel6_;
    Label linkLabel7_;
    Panel mainPanel_;
    Panel benefitsPanel_;
    Label benefitsLabel_;
    Label benefitsDescription_;
    Label osVersionLabel_;
    ComboBox windowsCombo_;
    Label processorTypeLabel_;
    ComboBox processorCombo_;
    Label modemTypeLabel_;
    ComboBox modemCombo_;
    Label speedLabel_;
    TrackBar speedTrackBar_;
    Label fastLabel_;
    Label fasterLabel_;
    Bevel lineSeparator1_;
    PushButton goButton_;
    PushButton restoreButton_;
    Bevel lineSeparator2_;
    Label versionInstalledLabel_;
    Label softwareLastUpdateLabel_;
    PushButton updatesButton_;
    PopupMenu popupMenu_;
    MenuItem helpFilePopup_;
    MenuItem techSupportPopup_;

    TLMAboutForm* aboutForm_ = nullptr;
    TLMSettingsForm* settingsForm_ = nullptr;
    // Runs a run of the tuning engine with the close handling below.
    void RunWith(RunView& view, void (*run)(RunView&));

    // A run is under way: a request to close waits until its registry work
    // is complete, unless it comes while the run asks a question.
    bool running_ = false;
    bool asking_ = false;
    bool closeRequested_ = false;
    // The window is destroyed; the run starts nothing more.
    bool closed_ = false;
};

}  // namespace lumora
