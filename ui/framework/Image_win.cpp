#include "ui/framework/Image.h"

#include "ui/framework/Art_win.h"

namespace lumora {

void Image::Create(FormWindow& form, const Args& args) {
    Join(form, args);
    if (args.bitmapResource != 0) {
        bitmap_ = LoadArt(args.bitmapResource);
    }
}

Image::~Image() {
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
    }
}

void Image::Draw(HDC dc, const RECT& bounds) const {
    DrawArt(dc, bitmap_, bounds);
}

}  // namespace lumora
