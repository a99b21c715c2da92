// A top-level window whose messages reach one member function: |this| is
// stored with the window at WM_NCCREATE and found again for every message.
// Faults never leave a window procedure: they are swallowed there.
#pragma once

#include <windows.h>

namespace lumora {

class BaseWindow {
  public:
    BaseWindow() = default;
    virtual ~BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    HWND Handle() const { return hwnd_; }

  protected:
    // Registers the class (once) and creates the window with a client area of
    // the given size, centred on the screen.
    bool Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                int clientWidth, int clientHeight, HWND owner);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

}  // namespace lumora
