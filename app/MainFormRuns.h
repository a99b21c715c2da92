// The main window's controller of the optimize and restore runs: what
// "&Optimize now" and "&Restore" do, step by step (questions, click, progress
// steps, the registry work of tuning/, the restart), over a view of the
// windows they need (the choices, enabled states, the progress dialog,
// message boxes). The main window supplies the real view; tests supply one of
// their own and run the same steps without a screen.
#pragma once

#include <cstdint>
#include <string>

#include "tuning/TuningChoices.h"

namespace lumora {

class RunView {
  public:
    virtual ~RunView() = default;
    // The main window's selections and the width of the Windows it runs on;
    // a run reads them once, as it starts.
    virtual TuningChoices Choices() = 0;
    virtual std::wstring MainTitle() = 0;
    virtual void SetMainEnabled(bool enabled) = 0;
    virtual void SetRestoreEnabled(bool enabled) = 0;
    // The progress dialog: shown modeless, centred over the main window, with
    // its step counter at 0 of |stepTotal|.
    virtual void ShowProgress(std::int32_t stepTotal) = 0;
    virtual void CloseProgress() = 0;
    virtual void SetProgressHeading(const std::wstring& text) = 0;
    virtual void ShowProgressStep(const std::wstring& text) = 0;
    // True once the main window was asked to close (another process of the
    // program closes it for an update). Asked during the steps or the
    // registry work, the window waits: the run skips its remaining steps,
    // finishes its registry work and asks nothing more. Asked while a
    // question is open, the window closes at once; the run then starts
    // nothing after the answer.
    virtual bool CloseRequested() = 0;
    // A message box owned by the main window; the button pressed (0 when
    // the box went with its window).
    virtual int Ask(const std::wstring& text, const std::wstring& title, unsigned flags) = 0;
    virtual void PlayClick() = 0;
    virtual void Restart() = 0;
};

inline constexpr std::int32_t kOptimizeStepTotal = 33;
inline constexpr std::int32_t kRestoreStepTotal = 29;

// Message box answers and flags the runs use, as Windows numbers them
// (MainFormRuns_win.cpp checks them against <windows.h>).
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr unsigned kRestartQuestionFlags = 0x134;  // MB_YESNO|MB_ICONWARNING|MB_DEFBUTTON2
inline constexpr unsigned kRestoreQuestionFlags = 0x31;   // MB_OKCANCEL|MB_ICONWARNING

// Both runs swallow any fault; after one the main window is enabled again and
// the progress dialog closed.
void RunOptimize(RunView& view);
void RunRestore(RunView& view);

}  // namespace lumora
