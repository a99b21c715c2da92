// LumoraUpdate.exe, the updater the program starts from its folder: it asks
// the update server whether a newer version exists and tells the user. For a
// newer version it offers the maker's download page in the browser; it never
// downloads or starts anything itself.
#pragma once

#include <string>

namespace lumora {

enum class UpdaterIcon { Information, Warning };

// What the updater shows and opens: message boxes and the shell in
// LumoraUpdate.exe.
class UpdaterUi {
  public:
    virtual ~UpdaterUi() = default;
    // A message with an OK button.
    virtual void Tell(const std::wstring& title, const std::wstring& text, UpdaterIcon icon) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool Ask(const std::wstring& title, const std::wstring& text) = 0;
    // Opens a web page in the default browser.
    virtual void OpenPage(const std::wstring& address) = 0;
};

// Answers a result of the update check (CheckForUpdate): 1 offers the
// download page and opens it on Yes; 0 and 2 tell that the installed
// version is current; -1, or any other value, that the server could not be
// reached. The texts are the section "LMUpdateForm" of the caption table of
// |language| (ProgramKey's "Language").
void RunUpdater(int checkResult, const std::wstring& language, UpdaterUi& ui);

}  // namespace lumora
