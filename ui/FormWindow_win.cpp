#include "ui/FormWindow.h"

#include <commctrl.h>

#ifndef BCM_SETSHIELD
#define BCM_SETSHIELD (BCM_FIRST + 0x000C)  // Vista's commctrl.h
#endif

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "common/WideText.h"
#include "ui/SystemFont_win.h"

namespace lumora {

namespace {

constexpr wchar_t kPanelClass[] = L"TPanel";
constexpr wchar_t kControlProperty[] = L"LumoraControl";
constexpr wchar_t kOldProcProperty[] = L"LumoraOldProc";
constexpr wchar_t kFormProperty[] = L"LumoraForm";

void InitCommonControlsOnce() {
    static bool done = false;
    if (!done) {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES |
                                                  ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                  ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        done = true;
    }
}

// A 32-bit bitmap with alpha is drawn blended; its colours are multiplied by
// the alpha once, as blending wants them.
bool PremultiplyIfAlpha(HBITMAP bitmap) {
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || dib.dsBm.bmBitsPixel != 32 ||
        dib.dsBm.bmBits == nullptr) {
        return false;
    }
    auto* pixels = static_cast<BYTE*>(dib.dsBm.bmBits);
    const std::size_t count = static_cast<std::size_t>(dib.dsBm.bmWidth) *
                              static_cast<std::size_t>(std::abs(dib.dsBm.bmHeight));
    bool anyAlpha = false;
    for (std::size_t i = 0; i < count; ++i) {
        anyAlpha = anyAlpha || pixels[i * 4 + 3] != 0;
    }
    if (!anyAlpha) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        BYTE* p = pixels + i * 4;
        for (int c = 0; c < 3; ++c) {
            p[c] = static_cast<BYTE>(p[c] * p[3] / 255);
        }
    }
    return true;
}

// Window art is stored as run-length compressed palette bitmaps (BI_RLE8 or
// BI_RLE4). A DIB section cannot hold compressed bits, so LoadImage with
// LR_CREATEDIBSECTION refuses them on every Windows version; they are
// expanded here into a DIB section of the same depth and palette, the one
// copy the program keeps. Null when the resource is not such a bitmap
// (|compressed| false) or is one with a header out of bounds.
HBITMAP LoadCompressedBitmap(HINSTANCE module, int resource, bool& compressed) {
    compressed = false;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resource), RT_BITMAP);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const auto* data = static_cast<const BYTE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    const DWORD size = found != nullptr ? SizeofResource(module, found) : 0;
    BITMAPINFOHEADER header{};
    if (data == nullptr || size < sizeof(header)) {
        return nullptr;
    }
    std::memcpy(&header, data, sizeof(header));
    const bool rle8 = header.biCompression == BI_RLE8 && header.biBitCount == 8;
    const bool rle4 = header.biCompression == BI_RLE4 && header.biBitCount == 4;
    if (!rle8 && !rle4) {
        return nullptr;
    }
    compressed = true;
    const DWORD maxColours = rle8 ? 256 : 16;
    const DWORD colours = header.biClrUsed != 0 ? header.biClrUsed : maxColours;
    if (header.biSize < sizeof(header) || header.biSize > size || header.biWidth <= 0 ||
        header.biWidth > 4096 || header.biHeight <= 0 || header.biHeight > 4096 ||
        colours > maxColours || colours * sizeof(RGBQUAD) > size - header.biSize) {
        return nullptr;
    }
    const DWORD bitsOffset = header.biSize + colours * static_cast<DWORD>(sizeof(RGBQUAD));
    const DWORD available = size - bitsOffset;
    if (header.biSizeImage == 0 || header.biSizeImage > available) {
        header.biSizeImage = available;
    }

    // The header with the resource's palette, compressed and expanded.
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + maxColours * sizeof(RGBQUAD));
    header.biSize = sizeof(BITMAPINFOHEADER);
    std::memcpy(info.data(), &header, sizeof(header));
    std::memcpy(info.data() + sizeof(header), data + bitsOffset - colours * sizeof(RGBQUAD),
                colours * sizeof(RGBQUAD));
    auto* packed = reinterpret_cast<BITMAPINFO*>(info.data());
    std::vector<BYTE> plainInfo = info;
    auto* plain = reinterpret_cast<BITMAPINFO*>(plainInfo.data());
    plain->bmiHeader.biCompression = BI_RGB;
    plain->bmiHeader.biSizeImage = 0;

    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, plain, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        return nullptr;
    }
    HDC screen = GetDC(nullptr);
    const int lines = SetDIBits(screen, bitmap, 0, static_cast<UINT>(header.biHeight),
                                data + bitsOffset, packed, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines <= 0) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

HBITMAP LoadArt(int resource) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    bool compressed = false;
    HBITMAP bitmap = LoadCompressedBitmap(module, resource, compressed);
    if (compressed) {
        return bitmap;
    }
    return static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& to) {
    DIBSECTION dib{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(dib.dsBm), &dib.dsBm) == 0) {
        return;
    }
    const BITMAP bm = dib.dsBm;
    // Only a 32-bit DIB section carries alpha; a bitmap compatible with a
    // 32-bit screen has 32 bits per pixel too, but no alpha.
    const bool alpha = bm.bmBitsPixel == 32 && GetObjectW(bitmap, sizeof(dib), &dib) == sizeof(dib);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    const int width = to.right - to.left;
    const int height = to.bottom - to.top;
    bool drawn = false;
    if (alpha) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        drawn = GdiAlphaBlend(dc, to.left, to.top, width, height, source, 0, 0, bm.bmWidth,
                              bm.bmHeight, blend) != FALSE;
    }
    if (!drawn && width == bm.bmWidth && height == bm.bmHeight) {
        drawn = BitBlt(dc, to.left, to.top, width, height, source, 0, 0, SRCCOPY) != FALSE;
    }
    if (!drawn) {
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, to.left, to.top, width, height, source, 0, 0, bm.bmWidth, bm.bmHeight,
                   SRCCOPY);
    }
    SelectObject(source, old);
    DeleteDC(source);
}

FormWindow* FormOf(HWND window) {
    HWND root = GetAncestor(window, GA_ROOT);
    return static_cast<FormWindow*>(GetPropW(root, kFormProperty));
}

}  // namespace

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ControlSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

FormWindow::FormWindow(const wchar_t* name, const wchar_t* className)
    : name_(name), className_(className), font_(IconTitleFont()) {}

FormWindow::~FormWindow() {
    if (Handle() != nullptr) {
        RemovePropW(Handle(), kFormProperty);
        DestroyWindow(Handle());
    }
    if (windowBrush_ != nullptr) {
        DeleteObject(windowBrush_);
    }
    if (panelBrush_ != nullptr) {
        DeleteObject(panelBrush_);
    }
}

bool FormWindow::CreateForm(const wchar_t* title, DWORD style, DWORD exStyle, int clientWidth,
                            int clientHeight, HWND owner) {
    InitCommonControlsOnce();
    if (!Create(className_, title, style, exStyle, clientWidth, clientHeight, owner)) {
        return false;
    }
    SetPropW(Handle(), kFormProperty, this);
    return true;
}

std::wstring FormWindow::Title() const {
    if (Handle() == nullptr) {
        return std::wstring();
    }
    wchar_t text[512] = {};
    GetWindowTextW(Handle(), text, 512);
    return text;
}

void FormWindow::SetTitle(const std::wstring& title) {
    if (Handle() != nullptr) {
        SetWindowTextW(Handle(), title.c_str());
    }
}

void FormWindow::SetFont(const FontSpec& font) {
    font_ = font;
    for (auto& control : controls_) {
        control->ApplyFont(font_);
    }
    if (Handle() != nullptr) {
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void FormWindow::FollowDesktopFont() {
    followsDesktopFont_ = true;
    SetFont(IconTitleFont());
}

void FormWindow::Hide() {
    shown_ = false;
    ShowWindow(Handle(), SW_HIDE);
}

void FormWindow::CentreOver(HWND other) {
    RECT mine{};
    GetWindowRect(Handle(), &mine);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (other != nullptr) {
        GetWindowRect(other, &area);
    }
    const int width = mine.right - mine.left;
    const int height = mine.bottom - mine.top;
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Control* FormWindow::Find(const std::wstring& name) const {
    auto it = std::find_if(controls_.begin(), controls_.end(), [&name](const auto& control) {
        return EqualNoCase(control->Name(), name);
    });
    return it == controls_.end() ? nullptr : it->get();
}

Control& FormWindow::Get(const std::wstring& name) const {
    Control* control = Find(name);
    if (control == nullptr) {
        throw std::runtime_error("no such component");
    }
    return *control;
}

void FormWindow::Bind(const std::wstring& name, ControlEvent event, ControlHandler handler) {
    if (Control* control = Find(name)) {
        control->On(event, std::move(handler));
    }
}

Control& FormWindow::Adopt(std::unique_ptr<Control> control) {
    if (!control->args_.parent.empty()) {
        control->parentPanel_ = Find(control->args_.parent);
    }
    controls_.push_back(std::move(control));
    return *controls_.back();
}

void FormWindow::UseFont(Control& control, bool parentFont, const FontSpec& ownFont) {
    if (parentFont) {
        control.ApplyFont(font_);
    } else {
        control.SetFont(ownFont);
    }
}

HWND FormWindow::ParentHandle(const ControlArgs& args) {
    if (!args.parent.empty()) {
        if (Control* panel = Find(args.parent)) {
            return panel->hwnd_;
        }
    }
    return Handle();
}

namespace {

HWND CreateChild(const wchar_t* cls, DWORD style, DWORD exStyle, const ControlArgs& args,
                 HWND parent, UINT id) {
    return CreateWindowExW(exStyle, cls, L"", WS_CHILD | WS_VISIBLE | style, args.left, args.top,
                           args.width, args.height, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void Subclass(HWND window, Control* control) {
    if (window == nullptr) {
        return;
    }
    SetPropW(window, kControlProperty, control);
    const LONG_PTR old =
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlSubclassProc));
    SetPropW(window, kOldProcProperty, reinterpret_cast<HANDLE>(old));
}

}  // namespace

Control& FormWindow::AddImage(const ImageArgs& args) {
    auto control = std::make_unique<Control>(ControlType::Image, args);
    if (args.bitmapResource != 0) {
        control->bitmap_ = LoadArt(args.bitmapResource);
        if (control->bitmap_ != nullptr) {
            PremultiplyIfAlpha(control->bitmap_);
        }
    }
    return Adopt(std::move(control));
}

Control& FormWindow::AddLabel(const LabelArgs& args) {
    auto control = std::make_unique<Control>(ControlType::Label, args);
    Control& label = *control;
    label.autoSize_ = !args.wordWrap;
    label.rightAligned_ = args.rightAligned;
    label.transparent_ = args.transparent;
    label.centreVertically_ = args.centreVertically && args.wordWrap;
    label.doubleBuffered_ = doubleBuffered_;
    label.id_ = nextId_++;
    const DWORD style = SS_NOTIFY | (args.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) |
                        (args.showAccelChar ? 0 : SS_NOPREFIX);
    label.hwnd_ = CreateChild(L"STATIC", style, 0, args, ParentHandle(args), label.id_);
    Adopt(std::move(control));
    Subclass(label.hwnd_, &label);
    UseFont(label, args.parentFont, args.font);
    label.Resize();
    return label;
}

Control& FormWindow::AddPanel(const PanelArgs& args) {
    WNDCLASSW wc{};
    if (!GetClassInfoW(GetModuleHandleW(nullptr), kPanelClass, &wc)) {
        wc.lpfnWndProc = PanelProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kPanelClass;
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        RegisterClassW(&wc);
    }
    auto control = std::make_unique<Control>(ControlType::Panel, args);
    Control& panel = *control;
    panel.color_ = args.color;
    panel.id_ = nextId_++;
    panel.hwnd_ = CreateChild(kPanelClass, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, args,
                              ParentHandle(args), panel.id_);
    Adopt(std::move(control));
    SetPropW(panel.hwnd_, kControlProperty, &panel);
    panel.ApplyFont(font_);
    return panel;
}

Control& FormWindow::AddButton(const ButtonArgs& args) {
    auto control = std::make_unique<Control>(ControlType::PushButton, args);
    Control& button = *control;
    button.id_ = nextId_++;
    button.hwnd_ =
        CreateChild(L"BUTTON", WS_TABSTOP | (args.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0,
                    args, ParentHandle(args), button.id_);
    if (args.isDefault) {
        defaultButtonId_ = button.id_;
    }
    if (args.shield) {
        // The elevation shield of common controls 6 on Vista and later; older
        // versions ignore the message.
        SendMessageW(button.hwnd_, BCM_SETSHIELD, 0, TRUE);
    }
    Adopt(std::move(control));
    Subclass(button.hwnd_, &button);
    UseFont(button, args.parentFont, args.font);
    return button;
}

Control& FormWindow::AddComboBox(const ComboArgs& args) {
    auto control = std::make_unique<Control>(ControlType::ComboBox, args);
    Control& combo = *control;
    combo.id_ = nextId_++;
    ControlArgs dropped = args;
    dropped.height = args.height + 200;  // room for the dropped-down list
    combo.hwnd_ = CreateChild(WC_COMBOBOXEXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                              dropped, ParentHandle(args), combo.id_);
    if (!args.imageResources.empty()) {
        HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK,
                                             static_cast<int>(args.imageResources.size()), 0);
        for (int resource : args.imageResources) {
            HBITMAP bitmap = static_cast<HBITMAP>(
                LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 16,
                           16, LR_CREATEDIBSECTION));
            ImageList_Add(images, bitmap, nullptr);
            if (bitmap != nullptr) {
                DeleteObject(bitmap);
            }
        }
        SendMessageW(combo.hwnd_, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    }
    for (std::size_t i = 0; i < args.items.size(); ++i) {
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = static_cast<INT_PTR>(i);
        item.pszText = const_cast<wchar_t*>(args.items[i].c_str());
        item.iImage = i < args.itemImages.size() ? args.itemImages[i] : 0;
        item.iSelectedImage = item.iImage;
        SendMessageW(combo.hwnd_, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    Adopt(std::move(control));
    combo.ApplyFont(font_);
    return combo;
}

Control& FormWindow::AddTrackBar(const TrackBarArgs& args) {
    auto control = std::make_unique<Control>(ControlType::TrackBar, args);
    Control& bar = *control;
    bar.id_ = nextId_++;
    bar.hwnd_ =
        CreateChild(TRACKBAR_CLASSW, WS_TABSTOP | TBS_BOTH | TBS_AUTOTICKS | TBS_FIXEDLENGTH, 0,
                    args, ParentHandle(args), bar.id_);
    SendMessageW(bar.hwnd_, TBM_SETRANGE, TRUE, MAKELPARAM(args.minimum, args.maximum));
    SendMessageW(bar.hwnd_, TBM_SETPAGESIZE, 0, args.pageSize);
    SendMessageW(bar.hwnd_, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(args.thumbLength), 0);
    return Adopt(std::move(control));
}

Control& FormWindow::AddProgressBar(const ProgressArgs& args) {
    auto control = std::make_unique<Control>(ControlType::ProgressBar, args);
    Control& bar = *control;
    bar.id_ = nextId_++;
    bar.hwnd_ = CreateChild(PROGRESS_CLASSW, PBS_SMOOTH, 0, args, ParentHandle(args), bar.id_);
    SendMessageW(bar.hwnd_, PBM_SETRANGE32, 0, 100);
    Adopt(std::move(control));
    Subclass(bar.hwnd_, &bar);
    return bar;
}

Control& FormWindow::AddBevel(const BevelArgs& args) {
    auto control = std::make_unique<Control>(ControlType::Bevel, args);
    control->verticalLine_ = args.vertical;
    return Adopt(std::move(control));
}

Control& FormWindow::AddMemo(const MemoArgs& args) {
    auto control = std::make_unique<Control>(ControlType::Memo, args);
    Control& memo = *control;
    memo.color_ = args.color;
    memo.id_ = nextId_++;
    memo.hwnd_ =
        CreateChild(L"EDIT", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                    WS_EX_CLIENTEDGE, args, ParentHandle(args), memo.id_);
    Adopt(std::move(control));
    memo.ApplyFont(font_);
    return memo;
}

Control& FormWindow::AddPopupMenu(const std::wstring& name) {
    ControlArgs args;
    args.name = name;
    auto control = std::make_unique<Control>(ControlType::PopupMenu, args);
    control->menu_ = CreatePopupMenu();
    return Adopt(std::move(control));
}

Control& FormWindow::PopupMenuNamed(const std::wstring& menu) const {
    Control& owner = Get(menu);
    if (owner.type_ != ControlType::PopupMenu) {
        throw std::runtime_error("not a popup menu");
    }
    return owner;
}

Control& FormWindow::AddMenuItem(const std::wstring& menu, const std::wstring& name) {
    Control& owner = PopupMenuNamed(menu);
    ControlArgs args;
    args.name = name;
    auto control = std::make_unique<Control>(ControlType::MenuItem, args);
    control->menu_ = owner.menu_;
    control->id_ = nextId_++;
    AppendMenuW(owner.menu_, MF_STRING, control->id_, L"");
    return Adopt(std::move(control));
}

void FormWindow::AddMenuSeparator(const std::wstring& menu) {
    AppendMenuW(PopupMenuNamed(menu).menu_, MF_SEPARATOR, 0, nullptr);
}

void FormWindow::PopupMenuAt(const std::wstring& menu, int right, int top) {
    Control* owner = Find(menu);
    if (owner == nullptr || owner->type_ != ControlType::PopupMenu || owner->menu_ == nullptr) {
        return;
    }
    SetForegroundWindow(Handle());
    TrackPopupMenu(owner->menu_,
                   TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_VERPOSANIMATION, right, top,
                   0, Handle(), nullptr);
    PostMessageW(Handle(), WM_NULL, 0, 0);
}

int FormWindow::ItemIndex(const std::wstring& combo) const {
    Control* control = Find(combo);
    return control != nullptr && control->hwnd_ != nullptr
               ? static_cast<int>(SendMessageW(control->hwnd_, CB_GETCURSEL, 0, 0))
               : -1;
}

void FormWindow::SetItemIndex(const std::wstring& combo, int index) {
    if (Control* control = Find(combo)) {
        SendMessageW(control->hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

int FormWindow::Position(const std::wstring& bar) const {
    Control* control = Find(bar);
    if (control == nullptr || control->hwnd_ == nullptr) {
        return 0;
    }
    return static_cast<int>(SendMessageW(
        control->hwnd_, control->type_ == ControlType::TrackBar ? TBM_GETPOS : PBM_GETPOS, 0, 0));
}

void FormWindow::SetPosition(const std::wstring& bar, int position) {
    if (Control* control = Find(bar)) {
        if (control->type_ == ControlType::TrackBar) {
            SendMessageW(control->hwnd_, TBM_SETPOS, TRUE, position);
        } else {
            SendMessageW(control->hwnd_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        }
    }
}

void FormWindow::SetTabOrder(const std::vector<std::wstring>& names) {
    HWND after = HWND_TOP;
    for (const auto& name : names) {
        if (Control* control = Find(name); control != nullptr && control->hwnd_ != nullptr) {
            SetWindowPos(control->hwnd_, after, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = control->hwnd_;
        }
    }
}

Control* FormWindow::FromId(UINT id) const {
    auto it = std::find_if(controls_.begin(), controls_.end(),
                           [id](const auto& control) { return control->id_ == id; });
    return it == controls_.end() ? nullptr : it->get();
}

Control* FormWindow::WindowlessAt(HWND parent, POINT point) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        Control& control = **it;
        if (control.IsWindowless() && ParentHandleOf(control) == parent) {
            const RECT bounds = control.Bounds();
            if (PtInRect(&bounds, point)) {
                return &control;
            }
        }
    }
    return nullptr;
}

HWND FormWindow::ParentHandleOf(const Control& control) const {
    return control.parentPanel_ != nullptr ? control.parentPanel_->hwnd_ : Handle();
}

void FormWindow::PaintWindowless(HWND parent, HDC dc) const {
    for (const auto& control : controls_) {
        if (!control->IsWindowless() || ParentHandleOf(*control) != parent) {
            continue;
        }
        const RECT bounds = control->Bounds();
        if (control->type_ == ControlType::Image) {
            DrawBitmap(dc, control->bitmap_, bounds);
        } else {
            RECT edge = bounds;
            DrawEdge(dc, &edge, EDGE_ETCHED, control->verticalLine_ ? BF_LEFT : BF_TOP);
        }
    }
}

COLORREF FormWindow::BackgroundOf(HWND window) const {
    auto* panel = static_cast<Control*>(GetPropW(window, kControlProperty));
    if (panel != nullptr && panel->type_ == ControlType::Panel && panel->color_ != CLR_INVALID) {
        return panel->color_;
    }
    return GetSysColor(COLOR_BTNFACE);
}

namespace {

// A memory bitmap the size of |area| that a window paints into, with logical
// coordinates those of the window; copied to the target in one go.
class PaintBuffer {
  public:
    PaintBuffer(HDC target, const RECT& area)
        : target_(target),
          area_(area),
          dc_(CreateCompatibleDC(target)),
          bitmap_(CreateCompatibleBitmap(target, std::max<LONG>(area.right - area.left, 1),
                                         std::max<LONG>(area.bottom - area.top, 1))) {
        if (dc_ != nullptr && bitmap_ != nullptr) {
            old_ = SelectObject(dc_, bitmap_);
            SetViewportOrgEx(dc_, -area.left, -area.top, nullptr);
        }
    }
    ~PaintBuffer() {
        if (old_ != nullptr) {
            SelectObject(dc_, old_);
        }
        if (bitmap_ != nullptr) {
            DeleteObject(bitmap_);
        }
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;

    bool Ready() const { return old_ != nullptr; }
    HDC Dc() const { return dc_; }
    void CopyToTarget() const {
        SetViewportOrgEx(dc_, 0, 0, nullptr);
        BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
               dc_, 0, 0, SRCCOPY);
    }

  private:
    HDC target_;
    RECT area_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_ = nullptr;
};

void FillColor(HDC dc, const RECT& area, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// How far a vertically centred label's text block moves down: half the room
// it leaves. A text taller than the label starts at its top.
int CentringOffset(HWND label, HDC dc, int width, int height) {
    const int length = GetWindowTextLengthW(label);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(std::max(GetWindowTextW(label, text.data(), length + 1), 0)));
    const LONG style = GetWindowLongW(label, GWL_STYLE);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
    RECT block{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &block,
              DT_CALCRECT | DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK |
                  ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
    if (oldFont != nullptr) {
        SelectObject(dc, oldFont);
    }
    return std::max(0, (height - static_cast<int>(block.bottom - block.top)) / 2);
}

// The label control draws its text (and, when it is not transparent, its
// background) over what |dc| holds, in the label's own coordinates; a
// vertically centred label's text is moved down.
void PrintLabelText(HWND label, bool centre, HDC dc) {
    auto oldProc = reinterpret_cast<WNDPROC>(GetPropW(label, kOldProcProperty));
    if (oldProc == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(label, &client);
    const int down = centre ? CentringOffset(label, dc, client.right, client.bottom) : 0;
    if (down == 0) {
        CallWindowProcW(oldProc, label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        return;
    }
    // The control draws at its top: it draws on a copy of what lies lower,
    // and the copy goes back down.
    PaintBuffer shifted(dc, client);
    if (!shifted.Ready()) {
        return;
    }
    const int rows = client.bottom - down;
    BitBlt(shifted.Dc(), 0, 0, client.right, rows, dc, 0, down, SRCCOPY);
    CallWindowProcW(oldProc, label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shifted.Dc()),
                    PRF_CLIENT);
    BitBlt(dc, 0, down, client.right, rows, shifted.Dc(), 0, 0, SRCCOPY);
}

}  // namespace

void FormWindow::PaintBuffered(HWND window, HDC target, const RECT& area) const {
    PaintBuffer buffer(target, area);
    if (!buffer.Ready()) {
        return;
    }
    HDC dc = buffer.Dc();
    FillColor(dc, area, BackgroundOf(window));
    PaintWindowless(window, dc);
    for (const auto& control : controls_) {
        if (control->type_ != ControlType::Label || control->hwnd_ == nullptr ||
            ParentHandleOf(*control) != window || !IsWindowVisible(control->hwnd_)) {
            continue;
        }
        const RECT bounds = control->Bounds();
        RECT overlap{};
        if (!IntersectRect(&overlap, &bounds, &area)) {
            continue;
        }
        const int width = bounds.right - bounds.left;
        const int height = bounds.bottom - bounds.top;
        PaintBuffer label(dc, RECT{0, 0, width, height});
        if (label.Ready()) {
            BitBlt(label.Dc(), 0, 0, width, height, dc, bounds.left, bounds.top, SRCCOPY);
            PrintLabelText(control->hwnd_, control->centreVertically_, label.Dc());
            BitBlt(dc, bounds.left, bounds.top, width, height, label.Dc(), 0, 0, SRCCOPY);
        }
    }
    // The other child windows keep what they show.
    for (const auto& control : controls_) {
        if (control->type_ != ControlType::Label && control->hwnd_ != nullptr &&
            ParentHandleOf(*control) == window && IsWindowVisible(control->hwnd_)) {
            const RECT bounds = control->Bounds();
            ExcludeClipRect(target, bounds.left, bounds.top, bounds.right, bounds.bottom);
        }
    }
    buffer.CopyToTarget();
}

void FormWindow::PaintLabel(Control& label) const {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(label.hwnd_, &ps);
    if (target == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(label.hwnd_, &client);
    PaintBuffer buffer(target, client);
    if (buffer.Ready()) {
        // What lies beneath the label, then its text.
        HWND parent = ParentHandleOf(label);
        const RECT bounds = label.Bounds();
        HDC dc = buffer.Dc();
        SetViewportOrgEx(dc, -bounds.left, -bounds.top, nullptr);
        FillColor(dc, bounds, BackgroundOf(parent));
        PaintWindowless(parent, dc);
        SetViewportOrgEx(dc, 0, 0, nullptr);
        PrintLabelText(label.hwnd_, label.centreVertically_, dc);
        buffer.CopyToTarget();
    }
    EndPaint(label.hwnd_, &ps);
}

LRESULT FormWindow::ColorStatic(HDC dc, HWND window) {
    auto* control = static_cast<Control*>(GetPropW(window, kControlProperty));
    if (control == nullptr) {
        control = FromId(static_cast<UINT>(GetDlgCtrlID(window)));
    }
    if (control != nullptr && control->type_ == ControlType::Label && control->transparent_) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, control->font_.color != kDefaultTextColor ? control->font_.color
                                                                   : GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    if (control != nullptr && control->type_ == ControlType::TrackBar &&
        control->parentPanel_ != nullptr && control->parentPanel_->color_ != CLR_INVALID) {
        // A track bar paints its background in its panel's colour.
        if (panelBrush_ == nullptr) {
            panelBrush_ = CreateSolidBrush(control->parentPanel_->color_);
        }
        return reinterpret_cast<LRESULT>(panelBrush_);
    }
    if (control != nullptr && control->type_ == ControlType::Memo) {
        const COLORREF color =
            control->color_ != CLR_INVALID ? control->color_ : GetSysColor(COLOR_WINDOW);
        SetBkColor(dc, color);
        if (windowBrush_ == nullptr) {
            windowBrush_ = CreateSolidBrush(color);
        }
        return reinterpret_cast<LRESULT>(windowBrush_);
    }
    return 0;
}

void FormWindow::TrackWindowlessHover(HWND parent, POINT point) {
    Control* hit = WindowlessAt(parent, point);
    if (hit == hoverWindowless_) {
        return;
    }
    if (hoverWindowless_ != nullptr) {
        Control* left = hoverWindowless_;
        hoverWindowless_ = nullptr;
        left->Fire(ControlEvent::MouseLeave);
    }
    hoverWindowless_ = hit;
    if (hit != nullptr) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, parent, 0};
        TrackMouseEvent(&track);
        hit->Fire(ControlEvent::MouseEnter);
    }
}

LRESULT FormWindow::ChildMessage(HWND parent, UINT message, WPARAM wParam, LPARAM lParam,
                                 bool& handled) {
    handled = true;
    switch (message) {
        case WM_COMMAND: {
            Control* control = FromId(LOWORD(wParam));
            const UINT code = HIWORD(wParam);
            if (control == nullptr && LOWORD(wParam) == IDOK && defaultButtonId_ != 0) {
                control = FromId(defaultButtonId_);
            }
            if (control != nullptr &&
                ((control->type_ == ControlType::Label && code == STN_CLICKED) ||
                 (control->type_ == ControlType::PushButton && code == BN_CLICKED) ||
                 (control->type_ == ControlType::MenuItem && lParam == 0))) {
                control->Fire(ControlEvent::Click);
                return 0;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            if (LRESULT brush =
                    ColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
                return brush;
            }
            break;
        case WM_MOUSEMOVE:
            TrackWindowlessHover(parent, POINT{static_cast<short>(LOWORD(lParam)),
                                               static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_MOUSELEAVE:
            TrackWindowlessHover(parent, POINT{-10000, -10000});
            return 0;
        case WM_LBUTTONUP: {
            POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (Control* hit = WindowlessAt(parent, point)) {
                hit->Fire(ControlEvent::Click);
            }
            return 0;
        }
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == parent && LOWORD(lParam) == HTCLIENT) {
                POINT point{};
                GetCursorPos(&point);
                ScreenToClient(parent, &point);
                Control* hit = WindowlessAt(parent, point);
                CursorKind kind = hit != nullptr ? hit->args_.cursor : CursorKind::Arrow;
                auto* panel = static_cast<Control*>(GetPropW(parent, kControlProperty));
                if (hit == nullptr && panel != nullptr) {
                    kind = panel->args_.cursor;
                }
                ::SetCursor(Application::Instance().Cursor(kind));
                return TRUE;
            }
            break;
        case WM_HSCROLL:
        case WM_NOTIFY:
            break;
        default:
            break;
    }
    handled = false;
    return 0;
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const LRESULT result = ChildMessage(Handle(), message, wParam, lParam, handled);
    if (handled) {
        return result;
    }
    switch (message) {
        case WM_ERASEBKGND:
            if (doubleBuffered_) {
                return TRUE;  // painted whole in WM_PAINT
            }
            break;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            if (doubleBuffered_) {
                PaintBuffered(Handle(), dc, ps.rcPaint);
            } else {
                PaintWindowless(Handle(), dc);
            }
            EndPaint(Handle(), &ps);
            return 0;
        }
        case WM_SHOWWINDOW:
            if (lParam == SW_PARENTCLOSING || lParam == SW_PARENTOPENING) {
                // The owner was minimized or restored. A window hidden by
                // the program meanwhile stays hidden; one that comes back
                // comes back as it was. The system hides or shows it from
                // within this message.
                if (wParam && !shown_) {
                    return 0;
                }
                followingOwner_ = true;
                const LRESULT result = BaseWindow::HandleMessage(message, wParam, lParam);
                followingOwner_ = false;
                return result;
            }
            if (lParam == 0 && !followingOwner_) {
                shown_ = wParam != 0;
                if (shown_) {
                    try {
                        FormShow();
                    } catch (...) {
                    }
                }
            }
            break;
        case WM_SETTINGCHANGE:
            if (followsDesktopFont_ &&
                (wParam == SPI_SETICONTITLELOGFONT || wParam == SPI_SETNONCLIENTMETRICS)) {
                SetFont(IconTitleFont());
            }
            break;
        case DM_GETDEFID:
            if (defaultButtonId_ != 0) {
                return MAKELRESULT(defaultButtonId_, DC_HASDEFID);
            }
            break;
        default:
            break;
    }
    return BaseWindow::HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FormWindow* form = FormOf(hwnd);
    auto* panel = static_cast<Control*>(GetPropW(hwnd, kControlProperty));
    if (form == nullptr || panel == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    try {
        bool handled = false;
        const LRESULT result = form->ChildMessage(hwnd, message, wParam, lParam, handled);
        if (handled) {
            return result;
        }
        if (message == WM_ERASEBKGND && form->doubleBuffered_) {
            return TRUE;  // painted whole in WM_PAINT
        }
        if (message == WM_PAINT && form->doubleBuffered_) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            form->PaintBuffered(hwnd, dc, ps.rcPaint);
            EndPaint(hwnd, &ps);
            return 0;
        }
        if (message == WM_ERASEBKGND) {
            RECT rect;
            GetClientRect(hwnd, &rect);
            const COLORREF color =
                panel->color_ != CLR_INVALID ? panel->color_ : GetSysColor(COLOR_BTNFACE);
            HBRUSH brush = CreateSolidBrush(color);
            FillRect(reinterpret_cast<HDC>(wParam), &rect, brush);
            DeleteObject(brush);
            return TRUE;
        }
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            form->PaintWindowless(hwnd, dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
    } catch (...) {
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ControlSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = static_cast<Control*>(GetPropW(hwnd, kControlProperty));
    auto oldProc = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOldProcProperty));
    if (oldProc == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (control != nullptr) {
        try {
            switch (message) {
                case WM_MOUSEMOVE:
                    if (!control->hover_) {
                        control->hover_ = true;
                        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
                        TrackMouseEvent(&track);
                        control->Fire(ControlEvent::MouseEnter);
                    }
                    break;
                case WM_MOUSELEAVE:
                    control->hover_ = false;
                    control->Fire(ControlEvent::MouseLeave);
                    break;
                case WM_SETCURSOR:
                    if (control->Cursor() != CursorKind::Arrow) {
                        ::SetCursor(Application::Instance().Cursor(control->Cursor()));
                        return TRUE;
                    }
                    break;
                case WM_ERASEBKGND:
                    if (control->centreVertically_ || control->doubleBuffered_) {
                        return TRUE;  // painted whole in WM_PAINT
                    }
                    break;
                case WM_PAINT:
                    if (control->centreVertically_ || control->doubleBuffered_) {
                        if (FormWindow* form = FormOf(hwnd)) {
                            form->PaintLabel(*control);
                            return 0;
                        }
                    }
                    break;
                case WM_NCDESTROY:
                    RemovePropW(hwnd, kControlProperty);
                    RemovePropW(hwnd, kOldProcProperty);
                    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
                    break;
                default:
                    break;
            }
        } catch (...) {
        }
    }
    return CallWindowProcW(oldProc, hwnd, message, wParam, lParam);
}

}  // namespace lumora
