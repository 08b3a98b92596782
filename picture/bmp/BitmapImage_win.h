#pragma once
// The image behind a TBitmap: a GDI bitmap (device-dependent, or a device-independent
// section with its layout), its palette and mask, and the file bytes of a run-length
// encoded load. Bitmaps share one image until one of them changes it.
#include <windows.h>

#include <memory>
#include <vector>

#include "picture/bmp/DibFormat.h"
#include "toolkit/GdiGuards_win.h"

class TBitmapCanvas;

// What kind of GDI bitmap to make.
struct TImageKind {
    bool dib = false;         // a DIB section of `format`; otherwise a device-dependent bitmap
    bool monochrome = false;  // device-dependent, 1 bit per pixel
    TDibFormat format;        // for DIB sections
};

class TBitmapImage {
public:
    TBitmapImage() = default;
    ~TBitmapImage();
    TBitmapImage(const TBitmapImage&) = delete;
    TBitmapImage& operator=(const TBitmapImage&) = delete;

    // Takes the bitmap out of whichever canvas context holds it, so that it can be selected
    // elsewhere or read with GetDIBits.
    void Deselect();
    // The bits of a DIB section after pending drawing is flushed (nullptr for a DDB).
    uint8_t* Bits() const;
    // Bits per pixel of the GDI bitmap (the display's depth for a colour DDB).
    int BitCount() const;
    TImageKind Kind() const { return TImageKind{isDib, monochrome, format}; }

    TBitmapHandle handle;
    TBitmapHandle mask;
    COLORREF maskKey = 0;  // the colour `mask` marks
    TPaletteHandle palette;
    int width = 0;
    int height = 0;
    bool isDib = false;
    bool monochrome = false;
    TDibFormat format;                   // a DIB section's layout (also the wanted one while empty)
    void* bits = nullptr;                // a DIB section's pixel memory
    std::vector<uint8_t> savedStream;    // the file bytes of a run-length encoded load
    TBitmapCanvas* selectedIn = nullptr;  // the canvas whose context holds `handle`
};

using TBitmapImagePtr = std::shared_ptr<TBitmapImage>;

// A new image of the kind and size; white unless `fill` says otherwise; an empty image
// (no handle) when a side is not positive. Throws EOutOfResources when GDI refuses.
TBitmapImagePtr MakeBitmapImage(const TImageKind& kind, int width, int height, COLORREF fill = RGB(255, 255, 255));
// Copies the overlapping top-left part of `from` into `to` (converting between kinds).
void CopyImagePixels(TBitmapImage& from, TBitmapImage& to);
// A complete copy of `source` (same kind, size, palette and pixels; no kept file bytes).
TBitmapImagePtr CloneBitmapImage(TBitmapImage& source);
// Takes over an existing bitmap handle, describing it as it is.
TBitmapImagePtr AdoptBitmapHandle(HBITMAP handle);
// A palette holding the colours of a table (nullptr for an empty table), and back.
HPALETTE CreatePaletteFromTable(const std::vector<TRgbQuad>& colors);
std::vector<TRgbQuad> PaletteColors(HPALETTE palette);
// The BITMAPINFO of a DIB layout (header plus masks or colour table), as GDI takes it.
std::vector<uint8_t> MakeBitmapInfo(const TDibFormat& format, int width, int height);

// Selects an image's bitmap into a fresh memory context for the duration of a call.
class TImageContext {
public:
    explicit TImageContext(TBitmapImage& image);
    HDC Get() const { return dc_.Get(); }

private:
    TMemoryDC dc_;
    TSelection selection_;
    TPaletteSelection palette_;
};
