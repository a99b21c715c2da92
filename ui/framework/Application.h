// The application object of the window framework: the message loop, a pump
// that processes waiting messages on request, the keyboard shortcuts of the
// whole application, the control hints with a replaceable hint window, and
// the table of cursors.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/framework/CursorKind.h"

namespace lumora {

// The window that shows a control's hint. The framework decides when, where
// and with what text; a hint window only shows and hides.
class HintWindow {
  public:
    virtual ~HintWindow() = default;
    // The size the text needs, as a rectangle at 0, 0.
    virtual RECT CalcHintRect(int maxWidth, const std::wstring& text, void* data) = 0;
    // Shows the text with the rectangle's top-left corner at its place.
    virtual void ActivateHint(const RECT& rect, const std::wstring& text) = 0;
    virtual void ReleaseHandle() = 0;
};

// The hint of a window: the text |hint| points to is shown while the pointer
// rests on it; it must stay until the hint is detached with null.
void AttachHint(HWND window, const std::wstring* hint);

class Application {
  public:
    using ShortCutHandler = std::function<void(WORD key, bool& handled)>;
    using HintFactory = std::function<std::unique_ptr<HintWindow>()>;

    static Application& Instance();
    // Destroys the hint window first: it hands its hint-change handler back
    // to this object.
    ~Application();

    // Runs the message loop until the main window is destroyed.
    void Run();
    // One full pass of the message pump: returns when the queue is empty.
    void ProcessMessages();
    // Runs a modal loop for |dialog| until |done| says so; the other top-level
    // windows of the program are disabled meanwhile.
    void RunModal(HWND dialog, const std::function<bool()>& done);

    void SetShortCutHandler(ShortCutHandler handler) { shortCut_ = std::move(handler); }
    const ShortCutHandler& ShortCut() const { return shortCut_; }

    // Hints. The hint window is made by the factory the first time a hint is
    // shown; replacing the factory replaces it from the next hint on.
    void SetHintWindowFactory(HintFactory factory);
    // The routine that hides the current hint; replaceable for the process.
    void SetHideHintRoutine(std::function<void()> routine) { hideHint_ = std::move(routine); }
    void SetHintChangedHandler(std::function<void()> handler) { hintChanged_ = std::move(handler); }
    const std::function<void()>& HintChangedHandler() const { return hintChanged_; }
    const std::wstring& Hint() const { return hint_; }
    void SetHintTimings(UINT pause, UINT shortPause, UINT hidePause);
    UINT HintPause() const { return hintPause_; }
    UINT HintShortPause() const { return hintShortPause_; }
    UINT HintHidePause() const { return hintHidePause_; }
    void CancelHint();
    // The hint text of the window under the pointer (empty for none): the
    // message loop passes it on at every mouse move.
    void HintTextUnderPointer(const std::wstring& hint);

    HCURSOR Cursor(CursorKind kind) const;
    void SetCursor(CursorKind kind, HCURSOR cursor);

  private:
    Application();
    bool PreTranslate(MSG& msg);
    // Shortcuts, hints and dialog keys first; the rest to its window.
    void Dispatch(MSG& msg);
    void ShowHintNow();
    static void CALLBACK HintTimerProc(HWND, UINT, UINT_PTR id, DWORD);

    ShortCutHandler shortCut_;
    HintFactory hintFactory_;
    std::unique_ptr<HintWindow> hintWindow_;
    std::function<void()> hideHint_;
    std::function<void()> hintChanged_;
    std::wstring hint_;
    UINT hintPause_ = 500;
    UINT hintShortPause_ = 50;
    UINT hintHidePause_ = 2500;
    UINT_PTR showTimer_ = 0;
    UINT_PTR hideTimer_ = 0;
    bool hintShowing_ = false;
    HCURSOR cursors_[3] = {};
};

}  // namespace lumora
