// The common controls' subclass calls of a program that does not import
// comctl32: a "comctl32.dll" planted next to the program is never the one
// loaded, the system folder's is. This executable has a folder of its own,
// so the planted copy meets no other test.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/Process.h"
#include "ui/framework/WindowSubclass.h"

namespace lumora {
namespace {

LRESULT CALLBACK PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                        DWORD_PTR) {
    return DefaultSubclassProc(window, message, wParam, lParam);
}

TEST(WindowSubclassTest, PlantedCommonControlsAreNotLoaded) {
    ASSERT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr) << "loaded before the test";
    const std::wstring planted = test::TestFolder() + L"comctl32.dll";
    const std::wstring standIn = test::TestFolder() + L"..\\help_standin.dll";
    ASSERT_TRUE(CopyFileW(standIn.c_str(), planted.c_str(), FALSE)) << GetLastError();

    HWND window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    const bool subclassed = SubclassWindow(window, PassOn, 0);
    SetWindowTextW(window, L"passed on");
    wchar_t text[16] = {};
    GetWindowTextW(window, text, 16);
    RemoveSubclass(window, PassOn);
    DestroyWindow(window);

    const HMODULE loaded = GetModuleHandleW(L"comctl32.dll");
    const bool plantedLoaded = GetProcAddress(loaded, "StandInLastCall") != nullptr;
    DeleteFileW(planted.c_str());
    EXPECT_TRUE(subclassed);
    EXPECT_STREQ(text, L"passed on");
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(plantedLoaded);
}

}  // namespace
}  // namespace lumora
