#include "tests/support/Automation.h"

#include <algorithm>

namespace lumora::test {

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

namespace {
struct Collect {
    const wchar_t* className;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectChild(HWND window, LPARAM lParam) {
    auto* collect = reinterpret_cast<Collect*>(lParam);
    if (ClassOf(window) == collect->className) {
        collect->found.push_back(window);
    }
    return TRUE;
}
}  // namespace

std::vector<HWND> ControlsOfClass(HWND parent, const wchar_t* className) {
    Collect collect{className, {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&collect));
    std::sort(collect.found.begin(), collect.found.end(), [](HWND a, HWND b) {
        RECT ra{};
        RECT rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return collect.found;
}

HWND FindControl(HWND parent, const wchar_t* className, const std::wstring& text, bool prefix) {
    for (HWND control : ControlsOfClass(parent, className)) {
        const std::wstring shown = WindowText(control);
        if (shown == text || (prefix && shown.compare(0, text.size(), text) == 0)) {
            return control;
        }
    }
    return nullptr;
}

void ClickControl(HWND control) {
    RECT rect{};
    GetClientRect(control, &rect);
    const LPARAM at = MAKELPARAM(rect.right / 2, rect.bottom / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
}

int DarkPixels(HWND window, int threshold) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return 0;
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    int dark = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = GetPixel(memory, x, y);
            if (GetRValue(c) < threshold && GetGValue(c) < threshold && GetBValue(c) < threshold) {
                ++dark;
            }
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return dark;
}

bool SaveScreenshot(HWND window, const std::wstring& bmpPath) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    // Bottom-up rows of 24-bit pixels, each padded to 4 bytes.
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(static_cast<std::size_t>(stride) * static_cast<DWORD>(height));
    const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rows != height) {
        return false;
    }

    BITMAPFILEHEADER head{};
    head.bfType = 0x4D42;  // "BM"
    head.bfOffBits = sizeof(head) + sizeof(info);
    head.bfSize = head.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE file = CreateFileW(bmpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, &head, sizeof(head), &written, nullptr) &&
              WriteFile(file, &info, sizeof(info), &written, nullptr) &&
              WriteFile(file, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(file);
    return ok;
}

void HoverControl(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(control, WM_MOUSEMOVE, 0,
                 MAKELPARAM((rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2));
}

void MovePointerAway() {
    SetCursorPos(0, 0);
}

}  // namespace lumora::test
