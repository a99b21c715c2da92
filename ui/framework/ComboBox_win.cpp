#include "ui/framework/ComboBox.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/framework/FormWindow.h"
#include "ui/framework/ScopedGdi.h"

namespace lumora {

void ComboBox::Create(FormWindow& form, const Args& args) {
    Join(form, args);
    content_ = args;
    ApplyFont(form.Font());
    MakeWindowUnlessHeld();
}

void ComboBox::MakeWindow(HDC /*measure*/) {
    const Args& args = content_;
    // Room for the dropped-down list.
    CreateChild(WC_COMBOBOXEXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, form_->Scale(200));
    // The font first: the list then measures its items once.
    ShowFont();
    if (!args.imageSets.empty()) {
        const int room = form_->Scale(16);
        const auto fits = std::find_if(args.imageSets.rbegin(), args.imageSets.rend(),
                                       [room](const ImageSet& set) { return set.size <= room; });
        const ImageSet& shown = fits != args.imageSets.rend() ? *fits : args.imageSets.front();
        const int size = shown.size;
        HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK,
                                             static_cast<int>(shown.resources.size()), 0);
        for (int resource : shown.resources) {
            const ScopedGdiObject<HBITMAP> bitmap(static_cast<HBITMAP>(
                LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP,
                           size, size, LR_CREATEDIBSECTION)));
            ImageList_Add(images, bitmap.Get(), nullptr);
        }
        Send(CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    }
    for (std::size_t i = 0; i < args.items.size(); ++i) {
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = static_cast<INT_PTR>(i);
        item.pszText = const_cast<wchar_t*>(args.items[i].c_str());
        item.iImage = i < args.itemImages.size() ? args.itemImages[i] : 0;
        item.iSelectedImage = item.iImage;
        Send(CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    // Kept in the list itself from here on.
    content_ = Args{};
}

}  // namespace lumora
