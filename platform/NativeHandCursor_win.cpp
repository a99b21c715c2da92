#include "platform/NativeHandCursor.h"

namespace lumora {

namespace {

HCURSOR g_handCursor = nullptr;

}  // namespace

void LoadNativeHandCursor() {
    if (g_handCursor == nullptr) {
        g_handCursor = LoadCursorW(nullptr, IDC_HAND);
    }
}

HCURSOR HandCursor() {
    LoadNativeHandCursor();
    return g_handCursor != nullptr ? g_handCursor : LoadCursorW(nullptr, IDC_ARROW);
}

}  // namespace lumora
