// LumoraUpdate.exe: the update check of the program, answered in message
// boxes. It has no window of its own.
#include <windows.h>

#include "platform/Shell.h"
#include "platform/UpdateCheck.h"
#include "registry/ProgramKey.h"
#include "updater/Updater.h"

namespace lumora {
namespace {

class MessageBoxUi final : public UpdaterUi {
  public:
    void Tell(const std::wstring& title, const std::wstring& text, UpdaterIcon icon) override {
        const UINT symbol = icon == UpdaterIcon::Warning ? MB_ICONWARNING : MB_ICONINFORMATION;
        MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | symbol);
    }
    bool Ask(const std::wstring& title, const std::wstring& text) override {
        return MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_YESNO | MB_ICONINFORMATION) ==
               IDYES;
    }
    void OpenPage(const std::wstring& address) override { OpenUrl(address); }
};

}  // namespace
}  // namespace lumora

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        lumora::MessageBoxUi ui;
        const int result = lumora::CheckForUpdate();
        lumora::RunUpdater(result, lumora::program_key::ReadLanguage(), ui);
    } catch (...) {
    }
    return 0;
}
