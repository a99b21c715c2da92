#include "platform/ShellAddresses.h"

// The host name of the maker's web site comes from the build.
#ifndef LUMORA_WEB_HOST
#error "LUMORA_WEB_HOST must name the maker's web site"
#endif

namespace lumora {

std::wstring HelpAddress(const std::wstring& programFolder, const std::wstring& helpFile,
                         const std::wstring& topic) {
    return programFolder + helpFile + L"::" + topic + L">HelpWindow";
}

std::wstring HomePageUrl() {
    return L"http://" LUMORA_WEB_HOST;
}

std::wstring SupportPageUrl() {
    return HomePageUrl() + L"/support/";
}

std::wstring DownloadPageUrl() {
    return HomePageUrl() + L"/downloads/";
}

}  // namespace lumora
