#pragma once
// A bitmap picture: device-dependent (at the display's depth, as new bitmaps start) or
// device-independent in one of the DIB layouts, read from and written to BMP files. Copies
// share one image until one of them is changed.
#include <windows.h>

#include <memory>
#include <vector>

#include "picture/bmp/BitmapImage_win.h"
#include "picture/bmp/DibFormat.h"
#include "picture/graphic/Graphic_win.h"
#include "toolkit/GraphicsObjects_win.h"

class TBitmapCanvas;
class TCanvas;

enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
    TERVANE_GRAPHIC_CLASS(TBitmap)

    TBitmap();
    ~TBitmap() override;

    // Another bitmap: share its image. nullptr: become empty. Other classes are asked to
    // copy themselves into this bitmap (AssignTo).
    void Assign(const TGraphic* source) override;
    void Draw(TCanvas& canvas, const RECT& rect) override;
    bool Empty() const override;
    bool StillPixels() const override { return true; }
    int Width() const override { return image_->width; }
    int Height() const override { return image_->height; }
    // New image of the new size: old pixels top-left, the rest in the canvas's brush colour
    // (white when there is no canvas yet).
    void SetWidth(int width) override { SetSize(width, Height()); }
    void SetHeight(int height) override { SetSize(Width(), height); }
    void SetSize(int width, int height);
    HPALETTE Palette() const override;
    // Takes ownership. An indexed DIB takes the palette's colours as its colour table.
    void SetPalette(HPALETTE palette) override;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) const override;
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) const override;

    TCanvas& Canvas();
    // The GDI bitmap (nullptr when empty). It stays the bitmap's: do not delete it.
    HBITMAP Handle();
    // Takes ownership of a bitmap handle (nullptr empties the bitmap).
    void SetHandle(HBITMAP handle);
    // Gives the caller the bitmap handle (a private copy when shared); the bitmap is left empty.
    HBITMAP ReleaseHandle();
    // A monochrome mask: 1 where the pixel has the transparent colour, 0 elsewhere.
    HBITMAP MaskHandle();
    // The same for a colour of the caller's choice; kept with the image until it changes or
    // another colour is asked for. It stays the bitmap's: do not delete it.
    HBITMAP MaskFor(TColor colour);

    // pfDevice for a device-dependent bitmap, else the DIB's layout.
    TPixelFormat PixelFormat() const;
    // Converts the pixels to the format (pfDevice: a device-dependent bitmap).
    void SetPixelFormat(TPixelFormat format);
    // Bits per pixel of the image (the display's depth for a device-dependent colour bitmap).
    int BitsPerPixel() const;
    TBitmapHandleType HandleType() const { return image_->isDib ? bmDIB : bmDDB; }
    void SetHandleType(TBitmapHandleType type);
    bool Monochrome() const;
    // A 1-bit device-dependent bitmap: white pixels become 1, all others 0.
    void SetMonochrome(bool monochrome);
    // The DIB layout (colour table, masks). Meaningful for bmDIB.
    const TDibFormat& DibFormat() const { return image_->format; }
    // Replaces an indexed DIB's colour table (the indexes stay as they are).
    void SetColorTable(const std::vector<TRgbQuad>& colors);

    // Row `row` (0 = top) of the pixels; a device-dependent bitmap first becomes a DIB of
    // its depth. Rows are stored bottom first, so row 1 lies below row 0 in memory.
    void* ScanLine(int row);
    // The same row of a device-independent bitmap, for reading only: a shared image is read
    // where it is, without a private copy. nullptr for a device-dependent bitmap.
    const void* ReadScanLine(int row) const;

    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);

    // Whether the bytes a run-length encoded file was loaded from are still kept (they are
    // written back unchanged until the bitmap changes).
    bool HasKeptFileBytes() const { return !image_->savedStream.empty(); }
    // Frees the bitmap's context; the image stays.
    void Dormant();
    // Whether two bitmaps share one image (copy-on-write not yet triggered).
    bool SharesImageWith(const TBitmap& other) const { return image_ == other.image_; }

    void Changed() override;

private:
    friend class TBitmapCanvas;
    TBitmapImage& Image() { return *image_; }
    // Gives this bitmap an image of its own before it is changed; drops kept file bytes.
    void Unshare();
    void ReplaceImage(TBitmapImagePtr image);
    void ConvertTo(const TImageKind& kind);
    COLORREF BackgroundFill() const;
    void CanvasChanging();
    void DrawTransparent(HDC target, const RECT& rect, HDC source);

    TBitmapImagePtr image_;
    std::unique_ptr<TBitmapCanvas> canvas_;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
};
