// The addresses the program hands to the shell and to HTML Help.
#include <gtest/gtest.h>

#include <string>

#include "platform/ShellAddresses.h"

namespace lumora {
namespace {

TEST(ShellAddresses, HelpAddressJoinsFolderFileTopicAndWindowType) {
    EXPECT_EQ(HelpAddress(L"C:\\Program Files\\Lumora\\", kHelpFileName, kHelpTopic),
              L"C:\\Program Files\\Lumora\\Lumora.chm::/html/main.htm>HelpWindow");
    // Nothing is added or dropped between the parts.
    EXPECT_EQ(HelpAddress(L"", L"a.chm", L"/t.htm"), L"a.chm::/t.htm>HelpWindow");
    EXPECT_EQ(HelpAddress(L"\\\\server\\share\\", L"Lumora.chm", L""),
              L"\\\\server\\share\\Lumora.chm::>HelpWindow");
}

TEST(ShellAddresses, WebPagesOfTheConfiguredSiteOverPlainHttp) {
    const std::wstring host(L"" LUMORA_EXPECTED_WEB_HOST);
    EXPECT_EQ(HomePageUrl(), L"http://" + host);
    EXPECT_EQ(SupportPageUrl(), L"http://" + host + L"/support/");
    EXPECT_EQ(DownloadPageUrl(), L"http://" + host + L"/downloads/");
}

}  // namespace
}  // namespace lumora
