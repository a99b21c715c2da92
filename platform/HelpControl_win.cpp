#include "platform/HelpControl.h"

#include <utility>

#include "common/SystemLibrary.h"

namespace lumora {

namespace {

constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC

}  // namespace

HelpControl::HelpControl(std::function<HMODULE()> load) : load_(std::move(load)) {}

void HelpControl::DisplayTopic(const std::wstring& address) {
    if (module_ == nullptr) {
        module_ = load_();
        if (module_ == nullptr) {
            return;
        }
        const FARPROC ansi = GetProcAddress(module_, "HtmlHelpA");
        const FARPROC wide = GetProcAddress(module_, "HtmlHelpW");
        if (ansi != nullptr && wide != nullptr) {
            htmlHelpW_ = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(wide));
        }
    }
    if (htmlHelpW_ != nullptr) {
        htmlHelpW_(GetDesktopWindow(), address.c_str(), kDisplayTopic, 0);
    }
}

HelpControl& SystemHelpControl() {
    // Loaded by its full path: a "hhctrl.ocx" next to the program or in the
    // current folder would otherwise run with the program's rights.
    static HelpControl control([] { return LoadSystemLibrary(L"hhctrl.ocx"); });
    return control;
}

}  // namespace lumora
