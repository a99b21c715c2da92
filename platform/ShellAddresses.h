// What the program hands to the shell: the files in its folder that it opens
// or starts, the address of a help topic, and the pages of the maker's web
// site.
#pragma once

#include <string>

namespace lumora {

// Files in the program folder. The program does not carry them; it only
// opens or starts them.
inline constexpr wchar_t kHelpFileName[] = L"Lumora.chm";
inline constexpr wchar_t kHelpTopic[] = L"/html/main.htm";
inline constexpr wchar_t kLicenseFileName[] = L"License.rtf";
inline constexpr wchar_t kUpdaterFileName[] = L"LumoraUpdate.exe";
// The program itself, by its fixed name (a renamed copy still starts this).
inline constexpr wchar_t kProgramFileName[] = L"Lumora.exe";

// The address HTML Help opens: <folder><help file>::<topic>>HelpWindow, the
// topic inside the help file shown in its window type "HelpWindow".
std::wstring HelpAddress(const std::wstring& programFolder, const std::wstring& helpFile,
                         const std::wstring& topic);

// The maker's home page (plain HTTP, no path), its support page, and its
// download page, where the updater sends the user for a new version.
std::wstring HomePageUrl();
std::wstring SupportPageUrl();
std::wstring DownloadPageUrl();

}  // namespace lumora
