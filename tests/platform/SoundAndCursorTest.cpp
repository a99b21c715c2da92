// The click sound from this executable's own "CLICK" resource (the same file
// Lumora.exe carries), played through winmm from the system folder; and the
// hand cursor for links.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/NativeHandCursor.h"
#include "platform/Sound.h"
#include "platform/SystemLibrary.h"
#include "tests/support/Process.h"

namespace lumora {
namespace {

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
    return std::wstring(path, n);
}

TEST(Sound, ClickResourceIsFoundCaseBlind) {
    for (const wchar_t* name : {L"CLICK", L"click"}) {
        HRSRC resource = FindResourceW(nullptr, name, L"WAVE");
        ASSERT_NE(resource, nullptr);
        EXPECT_EQ(SizeofResource(nullptr, resource), 2202u);
    }
}

// Wine here has no sound device: PlaySoundW may fail, but must return. A
// "winmm.dll" planted next to the program is not the one used.
TEST(Sound, ClickPlaysThroughWinmmFromTheSystemFolder) {
    const std::wstring planted = test::TestFolder() + L"winmm.dll";
    ASSERT_EQ(GetModuleHandleW(L"winmm.dll"), nullptr) << "loaded before the test";
    ASSERT_TRUE(
        CopyFileW((test::TestFolder() + L"help_standin.dll").c_str(), planted.c_str(), FALSE));

    PlayClickSound();
    PlayClickSound();  // a second click plays again, after the first

    const HMODULE winmm = GetModuleHandleW(L"winmm.dll");
    const std::wstring loaded = ModulePath(winmm);
    DeleteFileW(planted.c_str());
    ASSERT_NE(winmm, nullptr);
    EXPECT_EQ(
        CompareStringOrdinal(loaded.c_str(), -1, (SystemFolder() + L"winmm.dll").c_str(), -1, TRUE),
        CSTR_EQUAL)
        << loaded;
}

TEST(NativeHandCursor, SystemHandForLinks) {
    const HCURSOR systemHand = LoadCursorW(nullptr, IDC_HAND);
    ASSERT_NE(systemHand, nullptr);
    LoadNativeHandCursor();
    EXPECT_EQ(HandCursor(), systemHand);
    EXPECT_NE(HandCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

}  // namespace
}  // namespace lumora
