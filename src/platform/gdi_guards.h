// Guards for GDI temporaries, one per release function. Declare them in the
// order that makes destruction correct: a bitmap's guard before the guard
// that selects it, so that it is selected out before it is deleted.
#pragma once

#include <utility>

#include "platform/kernel.h"

// A memory DC from CreateCompatibleDC; DeleteDC.
class MemoryDcGuard {
public:
    explicit MemoryDcGuard(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDcGuard()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    MemoryDcGuard(const MemoryDcGuard&) = delete;
    MemoryDcGuard& operator=(const MemoryDcGuard&) = delete;
    MemoryDcGuard(MemoryDcGuard&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A window's DC from GetDC; ReleaseDC.
class WindowDcGuard {
public:
    explicit WindowDcGuard(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDcGuard()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDcGuard(const WindowDcGuard&) = delete;
    WindowDcGuard& operator=(const WindowDcGuard&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// A GDI object the routine created; DeleteObject.
template <typename T>
class GdiObjectGuard {
public:
    explicit GdiObjectGuard(T object = nullptr) : object_(object) {}
    ~GdiObjectGuard()
    {
        if (object_)
            DeleteObject(object_);
    }
    GdiObjectGuard(const GdiObjectGuard&) = delete;
    GdiObjectGuard& operator=(const GdiObjectGuard&) = delete;
    GdiObjectGuard(GdiObjectGuard&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    T get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    T release() { return std::exchange(object_, nullptr); }
    void reset(T object)
    {
        if (object_)
            DeleteObject(object_);
        object_ = object;
    }

private:
    T object_;
};

// An object selected into a DC; selects the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectGuard()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    // False when the object could not be selected.
    explicit operator bool() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A palette selected into a DC as a foreground palette; the previous one is
// selected back.
class PaletteSelectGuard {
public:
    PaletteSelectGuard(HDC dc, HPALETTE palette)
        : dc_(dc), previous_(palette ? SelectPalette(dc, palette, FALSE) : nullptr)
    {
        if (previous_)
            RealizePalette(dc);
    }
    ~PaletteSelectGuard()
    {
        if (previous_)
            SelectPalette(dc_, previous_, FALSE);
    }
    PaletteSelectGuard(const PaletteSelectGuard&) = delete;
    PaletteSelectGuard& operator=(const PaletteSelectGuard&) = delete;

private:
    HDC dc_;
    HPALETTE previous_;
};
