// The HTML Help control, loaded on the first help request and kept until the
// program ends.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace lumora {

class HelpControl {
  public:
    // |load| loads the control's module (null on failure); it is called at
    // each request until it succeeds.
    explicit HelpControl(std::function<HMODULE()> load);

    // Shows the topic at |address| (HH_DISPLAY_TOPIC), called from the
    // desktop window so that the help window belongs to none of the
    // program's windows. Does nothing while the control cannot be loaded, or
    // when it lacks either of its entries HtmlHelpA and HtmlHelpW.
    void DisplayTopic(const std::wstring& address);

    // True once the module is loaded (whether or not it had both entries).
    bool Loaded() const { return module_ != nullptr; }

  private:
    using HtmlHelpFunction = HWND(WINAPI*)(HWND caller, const wchar_t* file, UINT command,
                                           DWORD_PTR data);

    std::function<HMODULE()> load_;
    HMODULE module_ = nullptr;
    HtmlHelpFunction htmlHelpW_ = nullptr;
};

// The system's help control, "hhctrl.ocx" from the system folder.
HelpControl& SystemHelpControl();

}  // namespace lumora
