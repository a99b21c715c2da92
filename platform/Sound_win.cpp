#include "platform/Sound.h"

#include <windows.h>

#include <mmsystem.h>

#include "common/SystemLibrary.h"

namespace lumora {

namespace {

using PlaySoundFunction = BOOL(WINAPI*)(const wchar_t* sound, HMODULE module, DWORD flags);

// winmm.dll is not one of the libraries Windows always takes from the system
// folder, so it is not imported: it is loaded from there on first use.
PlaySoundFunction PlaySoundEntry() {
    static PlaySoundFunction entry = nullptr;
    if (entry == nullptr) {
        entry = ProcAddress<PlaySoundFunction>(LoadSystemLibrary(L"winmm.dll"), "PlaySoundW");
    }
    return entry;
}

}  // namespace

void PlayClickSound() {
    if (const PlaySoundFunction playSound = PlaySoundEntry()) {
        playSound(L"CLICK", GetModuleHandleW(nullptr), SND_RESOURCE | SND_SYNC);
    }
}

}  // namespace lumora
