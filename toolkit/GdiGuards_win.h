#pragma once
// Small owners for GDI and USER handles: every object, device context and selection the
// program makes is released by one of these on every path, so nothing leaks a handle or
// leaves an object selected when an exception passes through.
#include <windows.h>

#include <utility>

// Owns any GDI object released with DeleteObject (bitmaps, brushes, pens, fonts, palettes,
// regions).
template <typename Handle>
class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(Handle handle) : handle_(handle) {}
    ~TGdiObject() { Reset(); }
    TGdiObject(TGdiObject&& other) noexcept : handle_(other.Release()) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle Release() { return std::exchange(handle_, nullptr); }
    void Reset(Handle handle = nullptr) {
        if (handle_ && handle_ != handle) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using TBitmapHandle = TGdiObject<HBITMAP>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TPenHandle = TGdiObject<HPEN>;
using TFontHandle = TGdiObject<HFONT>;
using TPaletteHandle = TGdiObject<HPALETTE>;
using TRegionHandle = TGdiObject<HRGN>;

// Owns an icon handle (DestroyIcon).
class TIconHandle {
public:
    TIconHandle() = default;
    explicit TIconHandle(HICON handle) : handle_(handle) {}
    ~TIconHandle() { Reset(); }
    TIconHandle(TIconHandle&& other) noexcept : handle_(other.Release()) {}
    TIconHandle& operator=(TIconHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    TIconHandle(const TIconHandle&) = delete;
    TIconHandle& operator=(const TIconHandle&) = delete;

    HICON Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    HICON Release() { return std::exchange(handle_, nullptr); }
    void Reset(HICON handle = nullptr) {
        if (handle_ && handle_ != handle) DestroyIcon(handle_);
        handle_ = handle;
    }

private:
    HICON handle_ = nullptr;
};

// A window's or the screen's device context (GetDC / ReleaseDC).
class TWindowDC {
public:
    explicit TWindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    ~TWindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back on destruction.
class TSelection {
public:
    TSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~TSelection() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;

    // False when the object could not be selected (a bitmap already selected elsewhere).
    bool Succeeded() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Selects a palette (in the background unless told otherwise) and puts the previous one back.
class TPaletteSelection {
public:
    TPaletteSelection(HDC dc, HPALETTE palette, bool background = true)
        : dc_(dc), background_(background),
          previous_(dc && palette ? SelectPalette(dc, palette, background ? TRUE : FALSE) : nullptr) {
        if (previous_) RealizePalette(dc_);
    }
    ~TPaletteSelection() {
        if (previous_) SelectPalette(dc_, previous_, background_ ? TRUE : FALSE);
    }
    TPaletteSelection(const TPaletteSelection&) = delete;
    TPaletteSelection& operator=(const TPaletteSelection&) = delete;

private:
    HDC dc_;
    bool background_;
    HPALETTE previous_;
};

// A memory device context (CreateCompatibleDC / DeleteDC), compatible with the screen when no
// reference is given. A bitmap and a palette given to it stay selected for its life and are
// put back out before the context goes: Windows refuses to delete an object that is still
// selected (and keeps it for good), so whoever owns them must be able to delete them after.
// An owner of both declares the bitmap first, so that the context goes before it.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC reference = nullptr, HBITMAP bitmap = nullptr, HPALETTE palette = nullptr)
        : dc_(reference), bitmap_(dc_.dc, bitmap), palette_(dc_.dc, palette) {}
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;

    HDC Get() const { return dc_.dc; }
    explicit operator bool() const { return dc_.dc != nullptr; }

private:
    struct Context {
        explicit Context(HDC reference) : dc(CreateCompatibleDC(reference)) {}
        ~Context() {
            if (dc) DeleteDC(dc);
        }
        HDC dc;
    };
    Context dc_;  // deleted last, after the selections below are undone
    TSelection bitmap_;
    TPaletteSelection palette_;
};

// Saves a device context's state (SaveDC / RestoreDC): colours, modes, selections, clipping.
class TSavedDCState {
public:
    explicit TSavedDCState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~TSavedDCState() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    TSavedDCState(const TSavedDCState&) = delete;
    TSavedDCState& operator=(const TSavedDCState&) = delete;

private:
    HDC dc_;
    int saved_;
};

// The screen's colour depth (bits per pixel times planes), as new bitmaps get it.
inline int ScreenColorDepth() {
    TWindowDC screen;
    return GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES);
}
