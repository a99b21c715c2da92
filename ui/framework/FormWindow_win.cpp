#include "ui/framework/FormWindow.h"

#include <commctrl.h>

#ifndef BCM_SETSHIELD
#define BCM_SETSHIELD (BCM_FIRST + 0x000C)  // Vista's commctrl.h
#endif

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "ui/SystemFont_win.h"
#include "ui/framework/WindowSubclass.h"

namespace lumora {

namespace {

constexpr wchar_t kPanelClass[] = L"TPanel";

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

}  // namespace

LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data);

void Image::Draw(HDC dc, const RECT& bounds) const {
    DrawBitmap(dc, bitmap_, bounds);
}

FormWindow::FormWindow(const wchar_t* name, const wchar_t* className)
    : name_(name), className_(className), font_(IconTitleFont()) {}

FormWindow::~FormWindow() {
    if (Handle() != nullptr) {
        DestroyWindow(Handle());
    }
    for (Control* control : controls_) {
        control->hwnd_ = nullptr;
        control->hfont_ = nullptr;
    }
    for (const FontEntry& entry : fonts_) {
        DeleteObject(entry.font);
    }
}

bool FormWindow::CreateForm(const wchar_t* title, DWORD style, DWORD exStyle, int clientWidth,
                            int clientHeight, HWND owner) {
    InitCommonControlsOnce();
    layoutDpi_ = ScreenDpi();
    return Create(className_, title, style, exStyle, Scale(clientWidth), Scale(clientHeight),
                  owner);
}

int FormWindow::Scale(int designPixels) const {
    // Rounded down: a design whose edges meet (a heading right above its
    // control) keeps them meeting where text grows a little faster than
    // the scale, as it does with the font's rounding.
    return designPixels * layoutDpi_ / 96;
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
    for (Control* control : controls_) {
        control->ApplyFont(font_);
    }
    DropUnusedFonts();
    if (Handle() != nullptr && !LayoutDeferred()) {
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

HFONT FormWindow::SharedFont(const FontSpec& font) {
    FontSpec design = font;
    design.color = kDefaultTextColor;
    if (dpi_ == 0) {
        dpi_ = ScreenDpi();
    }
    const int dpi = dpi_;
    const auto known = std::find_if(fonts_.begin(), fonts_.end(), [&](const FontEntry& entry) {
        return entry.dpi == dpi && entry.design == design;
    });
    if (known != fonts_.end()) {
        return known->font;
    }
    const LOGFONTW logFont = LogFontFromSpec(design, dpi);
    HFONT made = CreateFontIndirectW(&logFont);
    if (made != nullptr) {
        fonts_.push_back(FontEntry{design, dpi, made});
    }
    return made;
}

void FormWindow::DropUnusedFonts() {
    auto unused = [this](const FontEntry& entry) {
        const bool shown =
            std::any_of(controls_.begin(), controls_.end(),
                        [&entry](const Control* control) { return control->hfont_ == entry.font; });
        if (!shown) {
            DeleteObject(entry.font);
        }
        return !shown;
    };
    fonts_.erase(std::remove_if(fonts_.begin(), fonts_.end(), unused), fonts_.end());
}

bool FormWindow::LayoutDeferred() const {
    return Handle() != nullptr && !IsWindowVisible(Handle());
}

void FormWindow::SettleLayout() {
    // Every label held back is measured on one memory context.
    HDC measure = nullptr;
    for (const Control* control : controls_) {
        const auto* label = dynamic_cast<const Label*>(control);
        if (label == nullptr || !label->layoutPending_) {
            continue;
        }
        if (measure == nullptr) {
            measure = CreateCompatibleDC(nullptr);
        }
        label->Resize(measure);
    }
    if (measure != nullptr) {
        DeleteDC(measure);
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

void FormWindow::Adopt(Control& control, const ControlArgs& args) {
    control.args_ = args;
    // The edges are scaled, so that components that meet or share an edge
    // in the design still do.
    control.args_.left = Scale(args.left);
    control.args_.top = Scale(args.top);
    control.args_.width = Scale(args.left + args.width) - control.args_.left;
    control.args_.height = Scale(args.top + args.height) - control.args_.top;
    control.form_ = this;
    if (!args.parent.empty()) {
        control.parentPanel_ = dynamic_cast<Panel*>(FindComponent(*this, args.parent));
    }
    controls_.push_back(&control);
}

void FormWindow::Forget(Control& control) {
    RemoveSubclass(control.hwnd_, ControlProc);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
    if (hoverWindowless_ == &control) {
        hoverWindowless_ = nullptr;
    }
    if (pressedWindowless_ == &control) {
        pressedWindowless_ = nullptr;
    }
    if (shownDefault_ == &control) {
        shownDefault_ = nullptr;
    }
    control.form_ = nullptr;
}

void FormWindow::UseFont(Control& control, bool parentFont, const FontSpec& ownFont) {
    if (parentFont) {
        control.ApplyFont(font_);
    } else {
        control.SetFont(ownFont);
    }
}

HWND FormWindow::CreateChild(Control& control, const wchar_t* cls, DWORD style, DWORD exStyle,
                             int extraHeight) {
    const ControlArgs& args = control.args_;
    control.id_ = nextId_++;
    HWND parent = control.parentPanel_ != nullptr ? control.parentPanel_->hwnd_ : Handle();
    control.hwnd_ = CreateWindowExW(exStyle, cls, L"", WS_CHILD | WS_VISIBLE | style, args.left,
                                    args.top, args.width, args.height + extraHeight, parent,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(control.id_)),
                                    GetModuleHandleW(nullptr), nullptr);
    return control.hwnd_;
}

Image& FormWindow::Add(Image& image, const ImageArgs& args) {
    Adopt(image, args);
    if (args.bitmapResource != 0) {
        image.bitmap_ = LoadArt(args.bitmapResource);
        if (image.bitmap_ != nullptr) {
            PremultiplyIfAlpha(image.bitmap_);
        }
    }
    return image;
}

Label& FormWindow::Add(Label& label, const LabelArgs& args) {
    Adopt(label, args);
    label.autoSize_ = !args.wordWrap;
    label.rightAligned_ = args.rightAligned;
    label.transparent_ = args.transparent;
    label.centreVertically_ = args.centreVertically && args.wordWrap;
    label.doubleBuffered_ = doubleBuffered_;
    const DWORD style = SS_NOTIFY | (args.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) |
                        (args.showAccelChar ? 0 : SS_NOPREFIX);
    SubclassWindow(CreateChild(label, L"STATIC", style, 0), ControlProc,
                   reinterpret_cast<DWORD_PTR>(&label));
    UseFont(label, args.parentFont, args.font);
    if (LayoutDeferred()) {
        label.layoutPending_ = true;
    } else {
        label.Resize();
    }
    return label;
}

Panel& FormWindow::Add(Panel& panel, const PanelArgs& args) {
    WNDCLASSW wc{};
    if (!GetClassInfoW(GetModuleHandleW(nullptr), kPanelClass, &wc)) {
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kPanelClass;
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        RegisterClassW(&wc);
    }
    Adopt(panel, args);
    panel.color_ = args.color;
    SubclassWindow(CreateChild(panel, kPanelClass, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT),
                   ControlProc, reinterpret_cast<DWORD_PTR>(&panel));
    panel.ApplyFont(font_);
    return panel;
}

PushButton& FormWindow::Add(PushButton& button, const ButtonArgs& args) {
    Adopt(button, args);
    HWND window = CreateChild(button, L"BUTTON",
                              WS_TABSTOP | (args.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0);
    if (args.isDefault) {
        defaultButtonId_ = button.id_;
        shownDefault_ = &button;
    }
    if (args.shield) {
        // The elevation shield of common controls 6 on Vista and later; older
        // versions ignore the message.
        button.Send(BCM_SETSHIELD, 0, TRUE);
    }
    SubclassWindow(window, ControlProc, reinterpret_cast<DWORD_PTR>(&button));
    UseFont(button, args.parentFont, args.font);
    return button;
}

ComboBox& FormWindow::Add(ComboBox& combo, const ComboArgs& args) {
    Adopt(combo, args);
    // Room for the dropped-down list.
    CreateChild(combo, WC_COMBOBOXEXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, Scale(200));
    // The font first: the list then measures its items once.
    combo.ApplyFont(font_);
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
        combo.Send(CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    }
    for (std::size_t i = 0; i < args.items.size(); ++i) {
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = static_cast<INT_PTR>(i);
        item.pszText = const_cast<wchar_t*>(args.items[i].c_str());
        item.iImage = i < args.itemImages.size() ? args.itemImages[i] : 0;
        item.iSelectedImage = item.iImage;
        combo.Send(CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    return combo;
}

TrackBar& FormWindow::Add(TrackBar& bar, const TrackBarArgs& args) {
    Adopt(bar, args);
    CreateChild(bar, TRACKBAR_CLASSW, WS_TABSTOP | TBS_BOTH | TBS_AUTOTICKS | TBS_FIXEDLENGTH, 0);
    bar.Send(TBM_SETRANGE, TRUE, MAKELPARAM(args.minimum, args.maximum));
    bar.Send(TBM_SETPAGESIZE, 0, args.pageSize);
    bar.Send(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(Scale(args.thumbLength)), 0);
    return bar;
}

ProgressBar& FormWindow::Add(ProgressBar& bar, const ProgressArgs& args) {
    Adopt(bar, args);
    CreateChild(bar, PROGRESS_CLASSW, PBS_SMOOTH, 0);
    bar.Send(PBM_SETRANGE32, 0, 100);
    SubclassWindow(bar.hwnd_, ControlProc, reinterpret_cast<DWORD_PTR>(&bar));
    return bar;
}

Bevel& FormWindow::Add(Bevel& bevel, const BevelArgs& args) {
    Adopt(bevel, args);
    bevel.vertical_ = args.vertical;
    return bevel;
}

Memo& FormWindow::Add(Memo& memo, const MemoArgs& args) {
    Adopt(memo, args);
    memo.color_ = args.color;
    HWND window = CreateChild(memo, L"EDIT",
                              WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                              WS_EX_CLIENTEDGE);
    // Subclassed so that Tab, Enter and Esc keep their dialog meaning in it.
    SubclassWindow(window, ControlProc, reinterpret_cast<DWORD_PTR>(&memo));
    memo.ApplyFont(font_);
    return memo;
}

PopupMenu& FormWindow::Add(PopupMenu& menu, const std::wstring& name) {
    ControlArgs args;
    args.name = name;
    Adopt(menu, args);
    menu.menu_ = CreatePopupMenu();
    return menu;
}

MenuItem& FormWindow::Add(MenuItem& item, PopupMenu& menu, const std::wstring& name) {
    ControlArgs args;
    args.name = name;
    Adopt(item, args);
    item.menu_ = menu.menu_;
    item.id_ = nextId_++;
    AppendMenuW(menu.menu_, MF_STRING, item.id_, L"");
    return item;
}

void FormWindow::PopupMenuAt(const PopupMenu& menu, int right, int top) {
    if (menu.menu_ == nullptr) {
        return;
    }
    SetForegroundWindow(Handle());
    TrackPopupMenu(menu.menu_, TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_VERPOSANIMATION,
                   right, top, 0, Handle(), nullptr);
    PostMessageW(Handle(), WM_NULL, 0, 0);
}

void FormWindow::SetTabOrder(const std::vector<const Control*>& controls) {
    HWND after = HWND_TOP;
    for (const Control* control : controls) {
        if (control != nullptr && control->hwnd_ != nullptr) {
            SetWindowPos(control->hwnd_, after, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = control->hwnd_;
        }
    }
}

Control* FormWindow::FromId(UINT id) const {
    auto it = std::find_if(controls_.begin(), controls_.end(),
                           [id](const Control* control) { return control->id_ == id; });
    return it == controls_.end() ? nullptr : *it;
}

Control* FormWindow::FromHandle(HWND window) const {
    if (window == nullptr) {
        return nullptr;
    }
    auto it = std::find_if(controls_.begin(), controls_.end(),
                           [window](const Control* control) { return control->hwnd_ == window; });
    return it == controls_.end() ? nullptr : *it;
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
    for (const Control* control : controls_) {
        if (control->IsWindowless() && ParentHandleOf(*control) == parent) {
            control->Draw(dc, control->Bounds());
        }
    }
}

COLORREF FormWindow::BackgroundOf(HWND window) const {
    const auto* panel = dynamic_cast<const Panel*>(FromHandle(window));
    return panel != nullptr ? panel->Color() : GetSysColor(COLOR_BTNFACE);
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
    RECT client{};
    GetClientRect(label, &client);
    const int down = centre ? CentringOffset(label, dc, client.right, client.bottom) : 0;
    if (down == 0) {
        SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
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
    SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shifted.Dc()), PRF_CLIENT);
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
    for (const Control* control : controls_) {
        const auto* label = dynamic_cast<const Label*>(control);
        if (label == nullptr || label->hwnd_ == nullptr || ParentHandleOf(*label) != window ||
            !IsWindowVisible(label->hwnd_)) {
            continue;
        }
        const RECT bounds = label->Bounds();
        RECT overlap{};
        if (!IntersectRect(&overlap, &bounds, &area)) {
            continue;
        }
        const int width = bounds.right - bounds.left;
        const int height = bounds.bottom - bounds.top;
        PaintBuffer text(dc, RECT{0, 0, width, height});
        if (text.Ready()) {
            BitBlt(text.Dc(), 0, 0, width, height, dc, bounds.left, bounds.top, SRCCOPY);
            PrintLabelText(label->hwnd_, label->centreVertically_, text.Dc());
            BitBlt(dc, bounds.left, bounds.top, width, height, text.Dc(), 0, 0, SRCCOPY);
        }
    }
    // The other child windows keep what they show.
    for (const Control* control : controls_) {
        if (dynamic_cast<const Label*>(control) == nullptr && control->hwnd_ != nullptr &&
            ParentHandleOf(*control) == window && IsWindowVisible(control->hwnd_)) {
            const RECT bounds = control->Bounds();
            ExcludeClipRect(target, bounds.left, bounds.top, bounds.right, bounds.bottom);
        }
    }
    buffer.CopyToTarget();
}

void FormWindow::PaintLabel(Label& label) const {
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

void FormWindow::PressWindowless(HWND parent, POINT point) {
    pressedWindowless_ = WindowlessAt(parent, point);
    if (pressedWindowless_ != nullptr) {
        // The release comes here even when it is made outside the window.
        SetCapture(parent);
    }
}

void FormWindow::ReleaseWindowless(HWND parent, POINT point) {
    Control* pressed = pressedWindowless_;
    pressedWindowless_ = nullptr;
    if (GetCapture() == parent) {
        ReleaseCapture();
    }
    if (pressed != nullptr && WindowlessAt(parent, point) == pressed) {
        pressed->Fire(ControlEvent::Click);
    }
}

void FormWindow::SaveFocus() {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) {
        focus_ = focus;
    }
}

void FormWindow::RestoreFocus() {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) {
        return;  // given already, as the window was shown
    }
    HWND target = focus_;
    if (target == nullptr || !IsWindow(target) || !IsChild(Handle(), target) ||
        !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    }
    if (target != nullptr) {
        SetFocus(target);
    } else if (focus != Handle()) {
        SetFocus(Handle());  // nothing to focus: the window itself, as before
    }
}

Control* FormWindow::DefaultButton() const {
    Control* focused = FromHandle(GetFocus());
    if (focused != nullptr && dynamic_cast<PushButton*>(focused) != nullptr) {
        return focused;
    }
    return defaultButtonId_ != 0 ? FromId(defaultButtonId_) : nullptr;
}

void FormWindow::ShowDefaultButton(const Control* button) {
    shownDefault_ = button;
    for (Control* control : controls_) {
        if (dynamic_cast<PushButton*>(control) == nullptr || control->hwnd_ == nullptr) {
            continue;
        }
        const LONG style = GetWindowLongW(control->hwnd_, GWL_STYLE);
        const LONG kind = control == button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if ((style & BS_TYPEMASK) != kind) {
            SendMessageW(control->hwnd_, BM_SETSTYLE, static_cast<WPARAM>(kind), TRUE);
        }
    }
}

void FormWindow::FocusTaken(Control& control) {
    if (dynamic_cast<PushButton*>(&control) != nullptr) {
        ShowDefaultButton(&control);
    }
}

void FormWindow::FocusLost(Control& control, HWND next) {
    Control* taking = FromHandle(next);
    if (dynamic_cast<PushButton*>(&control) != nullptr &&
        (taking == nullptr || dynamic_cast<PushButton*>(taking) == nullptr)) {
        ShowDefaultButton(defaultButtonId_ != 0 ? FromId(defaultButtonId_) : nullptr);
    }
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
            if (control == nullptr && LOWORD(wParam) == IDOK) {
                control = DefaultButton();
            }
            if (control != nullptr && control->IsClick(code, lParam)) {
                control->Fire(ControlEvent::Click);
                return 0;
            }
            break;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(parent, &ps);
            if (doubleBuffered_) {
                PaintBuffered(parent, dc, ps.rcPaint);
            } else {
                PaintWindowless(parent, dc);
            }
            EndPaint(parent, &ps);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            if (Control* control = FromHandle(reinterpret_cast<HWND>(lParam))) {
                if (HBRUSH brush = control->Colors(reinterpret_cast<HDC>(wParam))) {
                    return reinterpret_cast<LRESULT>(brush);
                }
            }
            break;
        case WM_MOUSEMOVE:
            TrackWindowlessHover(parent, POINT{static_cast<short>(LOWORD(lParam)),
                                               static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_MOUSELEAVE:
            TrackWindowlessHover(parent, POINT{-10000, -10000});
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            PressWindowless(parent, POINT{static_cast<short>(LOWORD(lParam)),
                                          static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_LBUTTONUP:
            ReleaseWindowless(parent, POINT{static_cast<short>(LOWORD(lParam)),
                                            static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_CAPTURECHANGED:
            pressedWindowless_ = nullptr;
            break;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == parent && LOWORD(lParam) == HTCLIENT) {
                POINT point{};
                GetCursorPos(&point);
                ScreenToClient(parent, &point);
                Control* hit = WindowlessAt(parent, point);
                CursorKind kind = hit != nullptr ? hit->args_.cursor : CursorKind::Arrow;
                const Control* panel = dynamic_cast<const Panel*>(FromHandle(parent));
                if (hit == nullptr && panel != nullptr) {
                    kind = panel->args_.cursor;
                }
                ::SetCursor(Application::Instance().Cursor(kind));
                return TRUE;
            }
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
                const LRESULT followed = BaseWindow::HandleMessage(message, wParam, lParam);
                followingOwner_ = false;
                return followed;
            }
            if (lParam == 0 && !followingOwner_) {
                shown_ = wParam != 0;
                if (shown_) {
                    // Shown anew, the window starts at the first control of
                    // the keyboard order, unless FormShow says otherwise.
                    focus_ = nullptr;
                    FormShow();
                }
            }
            if (wParam) {
                SettleLayout();
            }
            break;
        case WM_WINDOWPOSCHANGING: {
            const auto* place = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (place != nullptr && (place->flags & SWP_SHOWWINDOW) != 0) {
                SettleLayout();
            }
            break;
        }
        case WM_SETTINGCHANGE:
            if (followsDesktopFont_ &&
                (wParam == SPI_SETICONTITLELOGFONT || wParam == SPI_SETNONCLIENTMETRICS)) {
                dpi_ = 0;
                SetFont(IconTitleFont());
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                SaveFocus();
            } else if (HIWORD(wParam) == 0) {  // not minimized
                RestoreFocus();
            }
            return 0;
        case WM_SETFOCUS:
            RestoreFocus();
            return 0;
        case WM_CANCELMODE:
            // Sent as the window is disabled, before its focus goes.
            SaveFocus();
            break;
        case DM_GETDEFID:
            if (const Control* button = DefaultButton()) {
                return MAKELRESULT(button->id_, DC_HASDEFID);
            }
            break;
        default:
            break;
    }
    return BaseWindow::HandleMessage(message, wParam, lParam);
}

LRESULT FormWindow::PanelMessage(Panel& panel, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = panel.hwnd_;
    bool handled = false;
    const LRESULT result = ChildMessage(hwnd, message, wParam, lParam, handled);
    if (handled) {
        return result;
    }
    if (message == WM_ERASEBKGND) {
        if (!doubleBuffered_) {
            RECT rect;
            GetClientRect(hwnd, &rect);
            FillRect(reinterpret_cast<HDC>(wParam), &rect, panel.Brush());
        }
        return TRUE;  // a double-buffered panel is painted whole in WM_PAINT
    }
    return DefaultSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT FormWindow::ControlMessage(Control& control, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = control.hwnd_;
    auto* label = dynamic_cast<Label*>(&control);
    switch (message) {
        case WM_SETFOCUS:
            FocusTaken(control);
            break;
        case WM_KILLFOCUS:
            FocusLost(control, reinterpret_cast<HWND>(wParam));
            break;
        case BM_SETSTYLE:
            if (dynamic_cast<PushButton*>(&control) != nullptr && shownDefault_ != nullptr) {
                // The dialog manager restyles the buttons after Tab by rules
                // of its own; the default border stays where Enter goes.
                const WPARAM kind = shownDefault_ == &control ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
                wParam = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | kind;
            }
            break;
        case WM_GETDLGCODE:
            if (dynamic_cast<Memo*>(&control) != nullptr) {
                // A read-only memo takes the arrows and characters; Tab,
                // Enter and Esc move on or reach the window's buttons.
                return DefaultSubclassProc(hwnd, message, wParam, lParam) & ~DLGC_WANTALLKEYS;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (label != nullptr) {
                control.pressed_ = true;
                SetCapture(hwnd);
            }
            break;
        case WM_LBUTTONUP:
            if (label != nullptr) {
                const bool pressed = control.pressed_;
                control.pressed_ = false;
                if (GetCapture() == hwnd) {
                    ReleaseCapture();
                }
                RECT client{};
                GetClientRect(hwnd, &client);
                const POINT point{static_cast<short>(LOWORD(lParam)),
                                  static_cast<short>(HIWORD(lParam))};
                if (!PtInRect(&client, point)) {
                    if (control.hover_) {
                        control.hover_ = false;
                        control.Fire(ControlEvent::MouseLeave);
                    }
                } else if (pressed) {
                    control.Fire(ControlEvent::Click);
                }
            }
            break;
        case WM_CAPTURECHANGED:
            control.pressed_ = false;
            break;
        case WM_MOUSEMOVE:
            if (!control.hover_) {
                control.hover_ = true;
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
                TrackMouseEvent(&track);
                control.Fire(ControlEvent::MouseEnter);
            }
            break;
        case WM_MOUSELEAVE:
            control.hover_ = false;
            control.Fire(ControlEvent::MouseLeave);
            break;
        case WM_SETCURSOR:
            if (control.Cursor() != CursorKind::Arrow) {
                ::SetCursor(Application::Instance().Cursor(control.Cursor()));
                return TRUE;
            }
            break;
        case WM_ERASEBKGND:
            if (label != nullptr && label->PaintsItself()) {
                return TRUE;  // painted whole in WM_PAINT
            }
            break;
        case WM_PAINT:
            if (label != nullptr && label->PaintsItself()) {
                PaintLabel(*label);
                return 0;
            }
            break;
        default:
            break;
    }
    return DefaultSubclassProc(hwnd, message, wParam, lParam);
}

// Faults never leave a control's window procedure: they are swallowed here.
LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
    auto* control = reinterpret_cast<Control*>(data);
    if (message == WM_NCDESTROY) {
        RemoveSubclass(hwnd, ControlProc);
        control->hwnd_ = nullptr;
        return DefaultSubclassProc(hwnd, message, wParam, lParam);
    }
    FormWindow* form = control->form_;
    if (form == nullptr) {
        return DefaultSubclassProc(hwnd, message, wParam, lParam);
    }
    try {
        if (auto* panel = dynamic_cast<Panel*>(control)) {
            return form->PanelMessage(*panel, message, wParam, lParam);
        }
        return form->ControlMessage(*control, message, wParam, lParam);
    } catch (...) {
        return DefaultSubclassProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace lumora
