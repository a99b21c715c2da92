#include "ui/framework/Art_win.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "ui/framework/ScopedGdi.h"

namespace lumora {

namespace {

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
    ScopedGdiObject<HBITMAP> made(bitmap);
    const ScopedWindowDc screen(nullptr);
    const int lines = SetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(header.biHeight),
                                data + bitsOffset, packed, DIB_RGB_COLORS);
    return lines > 0 ? made.Release() : nullptr;
}

}  // namespace

HBITMAP LoadArt(int resource) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    bool compressed = false;
    HBITMAP bitmap = LoadCompressedBitmap(module, resource, compressed);
    if (!compressed) {
        bitmap = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(resource), IMAGE_BITMAP,
                                                 0, 0, LR_CREATEDIBSECTION));
    }
    if (bitmap != nullptr) {
        PremultiplyIfAlpha(bitmap);
    }
    return bitmap;
}

void DrawArt(HDC dc, HBITMAP bitmap, const RECT& to) {
    DIBSECTION dib{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(dib.dsBm), &dib.dsBm) == 0) {
        return;
    }
    const BITMAP bm = dib.dsBm;
    // Only a 32-bit DIB section carries alpha; a bitmap compatible with a
    // 32-bit screen has 32 bits per pixel too, but no alpha.
    const bool alpha = bm.bmBitsPixel == 32 && GetObjectW(bitmap, sizeof(dib), &dib) == sizeof(dib);
    const ScopedMemoryDc memory(dc);
    HDC source = memory.Get();
    const ScopedSelect selected(source, bitmap);
    const int width = to.right - to.left;
    const int height = to.bottom - to.top;
    bool drawn = false;
    if (alpha) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        drawn = GdiAlphaBlend(dc, to.left, to.top, width, height, source, 0, 0, bm.bmWidth,
                              bm.bmHeight, blend) != FALSE;
    }
    if (!drawn && width == bm.bmWidth && height == bm.bmHeight) {
        // Copied in bands of rows: Wine converts a palette bitmap to the
        // screen's depth in a buffer the size of the copy, which for the
        // whole background would be a megabyte at the window's first paint.
        constexpr int kBandRows = 32;
        drawn = true;
        for (int row = 0; row < height && drawn; row += kBandRows) {
            const int rows = std::min(kBandRows, height - row);
            drawn =
                BitBlt(dc, to.left, to.top + row, width, rows, source, 0, row, SRCCOPY) != FALSE;
        }
    }
    if (!drawn) {
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, to.left, to.top, width, height, source, 0, 0, bm.bmWidth, bm.bmHeight,
                   SRCCOPY);
    }
}

}  // namespace lumora
