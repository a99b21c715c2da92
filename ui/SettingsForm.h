// The progress dialog of the optimize and restore runs: a heading, a bar and
// a step text that grows by dots. Created hidden at start-up, shown modeless
// by a run and hidden again at its end.
#pragma once

#include <string>

#include "ui/ProgressStep.h"
#include "ui/framework/FormWindow.h"

namespace lumora {

class TLMSettingsForm : public FormWindow {
  public:
    TLMSettingsForm();
    bool Create(HWND owner);

    // Shows the dialog modeless, centred over |owner|.
    void ShowOver(HWND owner);
    void CloseDialog();
    // Announces |total| steps and sets the step counter to 0.
    void BeginSteps(std::int32_t total);
    void SetHeading(const std::wstring& text);
    // One step: animates the text, pumps messages for a random while and
    // advances the bar by the step counter.
    void ShowProgressStep(const std::wstring& text);

  protected:
    void FormShow() override;
    // A close request (another instance's update check sends one) hides
    // the dialog; Esc does nothing.
    void OnCancel(CancelBy how) override;

  private:
    ProgressState steps_;
    Panel settingsPanel_;
    Label currentSettingsHeading_;
    ProgressBar mainProgress_;
    Label currentSettingsLabel_;
};

}  // namespace lumora
