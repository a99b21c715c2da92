// GDI objects and device contexts that give themselves back: each holds
// one and releases it when it goes, so that no Select is left without its
// restore and no Create without its Delete.
#pragma once

#include <windows.h>

namespace lumora {

// An object selected into a device context; the one before it comes back.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (old_ != nullptr) {
            SelectObject(dc_, old_);
        }
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    // Whether the object went in.
    bool Selected() const { return old_ != nullptr; }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's device context (the screen's for null), released at the end.
class ScopedWindowDc {
  public:
    explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedWindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A memory device context compatible with another (the screen for null).
class ScopedMemoryDc {
  public:
    explicit ScopedMemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~ScopedMemoryDc() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    ScopedMemoryDc(const ScopedMemoryDc&) = delete;
    ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

// A GDI object the holder made and deletes (a brush, a bitmap, a font).
template <class Handle>
class ScopedGdiObject {
  public:
    explicit ScopedGdiObject(Handle object = nullptr) : object_(object) {}
    ~ScopedGdiObject() {
        if (object_ != nullptr) {
            DeleteObject(object_);
        }
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    Handle Get() const { return object_; }
    // Hands the object over; the holder deletes nothing.
    Handle Release() {
        Handle object = object_;
        object_ = nullptr;
        return object;
    }

  private:
    Handle object_;
};

}  // namespace lumora
