// The floor of the start-up benchmark: a plain Win32 window with the same
// kinds and number of controls as Lumora's main window (30 static labels,
// 6 push buttons, 3 extended combo boxes of 9 items, a track bar) and the
// same kind of manifest (FloorWindow.manifest: common controls 6,
// administrator), with no art, no logic and no subclassing. Its window class
// is "FloorWindow". Kept as it is: what it creates is what Lumora's start is
// measured against.
#include <windows.h>

#include <commctrl.h>

static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}
int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_USEREX_CLASSES |
                                              ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.lpszClassName = L"FloorWindow";
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    RegisterClassW(&wc);
    HWND h = CreateWindowW(L"FloorWindow", L"Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 770, 526, nullptr, nullptr, inst, nullptr);
    for (int i = 0; i < 30; i++)
        CreateWindowW(L"STATIC", L"Label text here", WS_CHILD | WS_VISIBLE, 10, 10 + i * 15, 150,
                      14, h, nullptr, inst, nullptr);
    for (int i = 0; i < 6; i++)
        CreateWindowW(L"BUTTON", L"Button", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 500, 10 + i * 30,
                      120, 25, h, nullptr, inst, nullptr);
    HIMAGELIST il = ImageList_Create(16, 16, ILC_COLOR32, 2, 0);
    for (int c = 0; c < 3; c++) {
        HWND cb = CreateWindowExW(0, WC_COMBOBOXEXW, L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                                  200, 100 + c * 50, 300, 200, h, nullptr, inst, nullptr);
        SendMessageW(cb, CBEM_SETIMAGELIST, 0, (LPARAM)il);
        for (int k = 0; k < 9; k++) {
            COMBOBOXEXITEMW it{};
            it.mask = CBEIF_TEXT;
            it.iItem = k;
            it.pszText = (LPWSTR)L"  Item text";
            SendMessageW(cb, CBEM_INSERTITEMW, 0, (LPARAM)&it);
        }
        SendMessageW(cb, CB_SETCURSEL, 0, 0);
    }
    CreateWindowW(TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE, 200, 300, 300, 30, h, nullptr, inst,
                  nullptr);
    ShowWindow(h, show);
    UpdateWindow(h);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
