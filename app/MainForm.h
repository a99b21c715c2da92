// The main window: the user's four choices, the optimize and restore
// buttons, the links, the help menu and the version and last-update lines.
#pragma once

#include "ui/FormWindow.h"

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

    void GoButtonClick(Control& sender);
    void RestoreButtonClick(Control& sender);
    void NavButton1Click(Control& sender);
    void NavButton2Click(Control& sender);
    void NavButton3Click(Control& sender);
    void NavButton4Click(Control& sender);
    void HelpFilePopupClick(Control& sender);
    void UpdatesButtonClick(Control& sender);
    void NavButtonMouseEnter(Control& sender);
    void NavButtonMouseLeave(Control& sender);
    void LabelMouseEnter(Control& sender);
    void LabelMouseLeave(Control& sender);

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
