// Reference windows for the start-up benchmark, built like Lumora.exe (same
// compiler, runtime and common controls manifest):
//   startup_floor_window.exe         the same kinds and number of controls as
//                                    Lumora's main window (30 static labels,
//                                    6 buttons, three extended combo boxes of
//                                    9 items with an image list, a track bar)
//                                    with no art and no logic;
//   startup_floor_window.exe /bare   one empty top-level window.
// Each shows its window and runs a message loop until the window is closed.
#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kFloorClass[] = L"LumoraFloorWindow";
constexpr wchar_t kBareClass[] = L"LumoraBareWindow";
constexpr int kLabels = 30;
constexpr int kButtons = 6;
constexpr int kCombos = 3;
constexpr int kComboItems = 9;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
           HWND parent, int id, HFONT font) {
    HWND child = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

// A plain 16 x 16 square in one colour, for the lists' images.
HBITMAP Square(HDC screen, COLORREF colour) {
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 16, 16};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

void AddControls(HWND window) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    int id = 100;
    for (int i = 0; i < kLabels; ++i) {
        const std::wstring text = L"Label number " + std::to_wstring(i + 1);
        Child(L"STATIC", text.c_str(), SS_LEFT, 16 + (i / 15) * 180, 10 + (i % 15) * 20, 170, 16,
              window, id++, font);
    }
    for (int i = 0; i < kButtons; ++i) {
        const std::wstring text = L"Button " + std::to_wstring(i + 1);
        Child(L"BUTTON", text.c_str(), WS_TABSTOP | BS_PUSHBUTTON, 400, 10 + i * 40, 145, 30,
              window, id++, font);
    }
    HDC screen = GetDC(nullptr);
    for (int c = 0; c < kCombos; ++c) {
        HWND combo = Child(WC_COMBOBOXEXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 16,
                           320 + c * 30, 309, 222, window, id++, font);
        HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
        for (COLORREF colour : {RGB(40, 120, 200), RGB(90, 100, 110)}) {
            HBITMAP square = Square(screen, colour);
            ImageList_Add(images, square, nullptr);
            DeleteObject(square);
        }
        SendMessageW(combo, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
        for (int i = 0; i < kComboItems; ++i) {
            std::wstring text = L"  Item " + std::to_wstring(i + 1);
            COMBOBOXEXITEMW item{};
            item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
            item.iItem = i;
            item.pszText = text.data();
            item.iImage = i % 2;
            item.iSelectedImage = item.iImage;
            SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
    }
    ReleaseDC(nullptr, screen);
    HWND bar = Child(TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_BOTH | TBS_AUTOTICKS | TBS_FIXEDLENGTH,
                     400, 260, 309, 44, window, id, font);
    SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 1));
    SendMessageW(bar, TBM_SETTHUMBLENGTH, 26, 0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    const bool bare = commandLine != nullptr && std::wcsstr(commandLine, L"/bare") != nullptr;
    if (!bare) {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES |
                                                  ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = bare ? kBareClass : kFloorClass;
    RegisterClassW(&wc);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, 764, 500};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_APPWINDOW);
    HWND window = CreateWindowExW(WS_EX_APPWINDOW, wc.lpszClassName, L"Start-up reference", style,
                                  CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    if (!bare) {
        AddControls(window);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
