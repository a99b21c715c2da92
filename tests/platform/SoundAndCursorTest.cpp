// The click sound from this executable's own "CLICK" resource (the same file
// Lumora.exe carries), played through winmm from the system folder, one click
// after the other; and the hand cursor for links.
#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/SystemLibrary.h"
#include "platform/NativeHandCursor.h"
#include "platform/Sound.h"
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

// A "winmm.dll" planted next to the program is not the one used: the click
// goes to winmm from the system folder. (Wine here has no sound device, so
// PlaySoundW may fail, but must return.)
TEST(Sound, ClickPlaysThroughWinmmFromTheSystemFolder) {
    const std::wstring planted = test::TestFolder() + L"winmm.dll";
    ASSERT_EQ(GetModuleHandleW(L"winmm.dll"), nullptr) << "loaded before the test";
    ASSERT_TRUE(
        CopyFileW((test::TestFolder() + L"help_standin.dll").c_str(), planted.c_str(), FALSE));

    PlayClickSound();

    const HMODULE winmm = GetModuleHandleW(L"winmm.dll");
    const std::wstring loaded = ModulePath(winmm);
    DeleteFileW(planted.c_str());
    ASSERT_NE(winmm, nullptr);
    EXPECT_EQ(
        CompareStringOrdinal(loaded.c_str(), -1, (SystemFolder() + L"winmm.dll").c_str(), -1, TRUE),
        CSTR_EQUAL)
        << loaded;
}

// What the stand-in for PlaySoundW saw: each call's sound, module and flags,
// and whether a call began while another was still playing.
struct SoundCall {
    std::wstring sound;
    HMODULE module;
    DWORD flags;
};
std::vector<SoundCall> g_calls;
bool g_playing = false;
bool g_overlapped = false;
// A click as the message loop gets it.
constexpr UINT kClick = WM_APP + 1;

// Plays for as long as it takes a second click to arrive: it posts one
// while the first sound plays.
BOOL WINAPI PlaySoundStandIn(const wchar_t* sound, HMODULE module, DWORD flags) {
    g_overlapped = g_overlapped || g_playing;
    g_playing = true;
    g_calls.push_back({sound != nullptr ? sound : L"", module, flags});
    if (g_calls.size() == 1) {
        PostThreadMessageW(GetCurrentThreadId(), kClick, 0, 0);
    }
    g_playing = false;
    return TRUE;
}

// Replaces the code at |target| with a jump to |standIn|, for the rest of the
// process.
bool RedirectCode(void* target, const void* standIn) {
#if defined(__x86_64__)
    unsigned char jump[12] = {0x48, 0xB8};  // mov rax, imm64; jmp rax
    const auto address = reinterpret_cast<std::uintptr_t>(standIn);
    std::memcpy(jump + 2, &address, sizeof(address));
    jump[10] = 0xFF;
    jump[11] = 0xE0;
#else
    unsigned char jump[5] = {0xE9};  // jmp rel32
    const auto offset = static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(standIn) -
                                                  reinterpret_cast<std::intptr_t>(target) - 5);
    std::memcpy(jump + 1, &offset, sizeof(offset));
#endif
    DWORD old = 0;
    if (!VirtualProtect(target, sizeof(jump), PAGE_EXECUTE_READWRITE, &old)) {
        return false;
    }
    std::memcpy(target, jump, sizeof(jump));
    VirtualProtect(target, sizeof(jump), old, &old);
    FlushInstructionCache(GetCurrentProcess(), target, sizeof(jump));
    return true;
}

// The click plays the program's own "CLICK" resource synchronously, with
// nothing but SND_RESOURCE: a second click that arrives while the sound
// plays is handled after it, and plays the sound again. PlaySoundW of the
// system's winmm is replaced by a stand-in that records its calls.
TEST(Sound, SecondClickPlaysAgainAfterTheFirst) {
    const HMODULE winmm = LoadSystemLibrary(L"winmm.dll");
    ASSERT_NE(winmm, nullptr);
    void* playSound = reinterpret_cast<void*>(GetProcAddress(winmm, "PlaySoundW"));
    ASSERT_NE(playSound, nullptr);
    ASSERT_TRUE(RedirectCode(playSound, reinterpret_cast<const void*>(&PlaySoundStandIn)));

    // The message loop handles one click at a time, each with the click
    // sound first.
    PostThreadMessageW(GetCurrentThreadId(), kClick, 0, 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, kClick, kClick, PM_REMOVE)) {
        PlayClickSound();
    }

    ASSERT_EQ(g_calls.size(), 2u) << "each click plays the sound";
    EXPECT_FALSE(g_overlapped) << "the second click was handled while the first sound played";
    for (const SoundCall& call : g_calls) {
        EXPECT_EQ(call.sound, L"CLICK");
        EXPECT_EQ(call.module, GetModuleHandleW(nullptr));
        // SND_RESOURCE alone: synchronous (no SND_ASYNC), and the system's
        // default sound where the resource cannot be played (no
        // SND_NODEFAULT).
        EXPECT_EQ(call.flags, static_cast<DWORD>(SND_RESOURCE));
    }
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
