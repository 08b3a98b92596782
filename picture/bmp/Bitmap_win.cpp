#include "picture/bmp/Bitmap_win.h"

#include "picture/bmp/BitmapCanvas_win.h"
#include "picture/graphic/StretchModeRule.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/ScreenDevice_win.h"

TERVANE_DEFINE_GRAPHIC_CLASS(TBitmap, TGraphic)

TBitmap::TBitmap() : image_(MakeBitmapImage(TImageKind{}, 0, 0)) {}

TBitmap::~TBitmap() { canvas_.reset(); }

TCanvas& TBitmap::Canvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TBitmapCanvas>(*this);
        canvas_->OnChanging = [this] { CanvasChanging(); };
        canvas_->OnChange = [this] { Changed(); };
    }
    return *canvas_;
}

void TBitmap::CanvasChanging() { Unshare(); }

void TBitmap::Unshare() {
    if (image_.use_count() > 1) {
        TBitmapImagePtr copy = CloneBitmapImage(*image_);
        ReplaceImage(std::move(copy));
    }
    image_->savedStream.clear();
    image_->mask.Reset();
}

void TBitmap::ReplaceImage(TBitmapImagePtr image) {
    if (canvas_) canvas_->FreeContext();
    image_ = std::move(image);
}

void TBitmap::Changed() {
    if (image_) image_->mask.Reset();
    TGraphic::Changed();
}

void TBitmap::Dormant() {
    if (canvas_) canvas_->FreeContext();
}

bool TBitmap::Empty() const { return !image_->handle; }

COLORREF TBitmap::BackgroundFill() const {
    return canvas_ ? ColorToRGB(canvas_->Brush().Color()) : RGB(255, 255, 255);
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height()) return;
    TBitmapImagePtr resized = MakeBitmapImage(image_->Kind(), width, height, BackgroundFill());
    CopyImagePixels(*image_, *resized);
    if (image_->palette) resized->palette.Reset(CreatePaletteFromTable(PaletteColors(image_->palette.Get())));
    ReplaceImage(std::move(resized));
    Changed();
}

void TBitmap::Assign(const TGraphic* source) {
    if (source == this) return;
    if (!source) {
        ReplaceImage(MakeBitmapImage(TImageKind{}, 0, 0));
        Changed();
        return;
    }
    if (source->InheritsFrom(TBitmap::StaticClass())) {
        const auto* other = static_cast<const TBitmap*>(source);
        ReplaceImage(other->image_);
        transparent_ = other->transparent_;
        transparentColor_ = other->transparentColor_;
        transparentMode_ = other->transparentMode_;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

HBITMAP TBitmap::Handle() {
    image_->Deselect();
    return image_->handle.Get();
}

void TBitmap::SetHandle(HBITMAP handle) {
    ReplaceImage(AdoptBitmapHandle(handle));
    Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
    if (image_.use_count() > 1) ReplaceImage(CloneBitmapImage(*image_));
    image_->Deselect();
    HBITMAP handle = image_->handle.Release();
    ReplaceImage(MakeBitmapImage(image_->Kind(), 0, 0));
    return handle;
}

HBITMAP TBitmap::MaskHandle() { return Empty() ? nullptr : MaskFor(TransparentColor()); }

HBITMAP TBitmap::MaskFor(TColor colour) {
    if (Empty()) return nullptr;
    COLORREF key = ColorToRGB(colour & 0xFFFFFF);
    if (!image_->mask || image_->maskKey != key) {
        TBitmapHandle mask(CreateBitmap(Width(), Height(), 1, 1, nullptr));
        {
            // Read through the canvas's own context: taking the image out of it here would
            // pull it from under a drawing in progress.
            HDC source = Canvas().Handle();
            TSavedDCState saved(source);
            TMemoryDC maskDC;
            TSelection selection(maskDC.Get(), mask.Get());
            SetBkColor(source, key);
            BitBlt(maskDC.Get(), 0, 0, Width(), Height(), source, 0, 0, SRCCOPY);
        }
        image_->mask = std::move(mask);
        image_->maskKey = key;
    }
    return image_->mask.Get();
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
    if (Empty()) return clDefault;
    auto* self = const_cast<TBitmap*>(this);
    return self->Canvas().Pixel(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
    if (color == transparentColor_ && transparentMode_ == (color == clDefault ? tmAuto : tmFixed)) return;
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparentMode_) return;
    transparentMode_ = mode;
    if (mode == tmAuto) transparentColor_ = clDefault;
    Changed();
}

TPixelFormat TBitmap::PixelFormat() const { return image_->isDib ? PixelFormatOf(image_->format) : pfDevice; }

int TBitmap::BitsPerPixel() const { return image_->BitCount(); }

bool TBitmap::Monochrome() const { return image_->monochrome || (image_->isDib && image_->format.bitCount == 1); }

void TBitmap::ConvertTo(const TImageKind& kind) {
    TBitmapImagePtr converted = MakeBitmapImage(kind, Width(), Height());
    CopyImagePixels(*image_, *converted);
    ReplaceImage(std::move(converted));
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == PixelFormat() || format == pfCustom) return;
    if (format == pfDevice) {
        ConvertTo(TImageKind{});
    } else {
        ConvertTo(TImageKind{true, false, DibFormatFor(format)});
    }
}

void TBitmap::SetHandleType(TBitmapHandleType type) {
    if (type == HandleType()) return;
    if (type == bmDDB) {
        ConvertTo(TImageKind{false, Monochrome(), {}});
        return;
    }
    int bits = BitsPerPixel();
    TPixelFormat format = bits == 1 ? pf1bit : bits == 4 ? pf4bit : bits == 8 ? pf8bit : bits == 16 ? pf16bit
                                     : bits == 24                                              ? pf24bit
                                                                                               : pf32bit;
    ConvertTo(TImageKind{true, false, DibFormatFor(format)});
}

void TBitmap::SetMonochrome(bool monochrome) {
    if (monochrome == Monochrome()) return;
    ConvertTo(TImageKind{false, monochrome, {}});
}

void TBitmap::SetColorTable(const std::vector<TRgbQuad>& colors) {
    Unshare();
    if (image_->isDib && image_->format.bitCount <= 8) {
        size_t limit = size_t{1} << image_->format.bitCount;
        image_->format.colors.assign(colors.begin(), colors.begin() + std::min(colors.size(), limit));
        if (image_->handle) {
            TImageContext context(*image_);
            SetDIBColorTable(context.Get(), 0, static_cast<UINT>(image_->format.colors.size()),
                             reinterpret_cast<const RGBQUAD*>(image_->format.colors.data()));
        }
    }
    image_->palette.Reset();
    SetPaletteModified(true);
    Changed();
}

HPALETTE TBitmap::Palette() const {
    if (!image_->palette && image_->isDib && image_->format.bitCount <= 8)
        image_->palette.Reset(CreatePaletteFromTable(image_->format.colors));
    return image_->palette.Get();
}

void TBitmap::SetPalette(HPALETTE palette) {
    if (palette && palette == image_->palette.Get()) return;
    Unshare();
    if (canvas_) canvas_->FreeContext();
    if (palette && image_->isDib && image_->format.bitCount <= 8) {
        std::vector<TRgbQuad> colors = PaletteColors(palette);
        colors.resize(std::min(colors.size(), size_t{1} << image_->format.bitCount));
        image_->format.colors = colors;
        if (image_->handle) {
            TImageContext context(*image_);
            SetDIBColorTable(context.Get(), 0, static_cast<UINT>(colors.size()),
                             reinterpret_cast<const RGBQUAD*>(colors.data()));
        }
    }
    image_->palette.Reset(palette);
    SetPaletteModified(true);
    Changed();
}

void* TBitmap::ScanLine(int row) {
    if (!image_->isDib) SetHandleType(bmDIB);
    Unshare();
    return const_cast<void*>(ReadScanLine(row));
}

const void* TBitmap::ReadScanLine(int row) const {
    if (!image_->isDib) return nullptr;
    if (row < 0 || row >= Height()) throw EInvalidGraphicOperation(ErrorText::ScanLineRange);
    uint32_t rowBytes = *DibRowBytes(Width(), image_->format.bitCount);
    return image_->Bits() + static_cast<size_t>(Height() - 1 - row) * rowBytes;
}

void TBitmap::Draw(TCanvas& canvas, const RECT& rect) {
    if (Empty()) return;
    HDC target = canvas.Handle();
    HDC source = Canvas().Handle();
    TSavedDCState saved(target);
    TPaletteSelection palette(target, Palette());
    int targetBits = GetDeviceCaps(target, BITSPIXEL) * GetDeviceCaps(target, PLANES);
    switch (ChooseStretchMode(targetBits, BitsPerPixel(), Monochrome())) {
    case TStretchMode::Halftone:
        SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, nullptr);
        break;
    case TStretchMode::ColorOnColor: SetStretchBltMode(target, COLORONCOLOR); break;
    case TStretchMode::Keep: break;
    }
    // Monochrome pictures draw in black and white whatever the target's text colours.
    SetTextColor(target, RGB(0, 0, 0));
    SetBkColor(target, RGB(255, 255, 255));
    if (Transparent()) {
        DrawTransparent(target, rect, source);
    } else {
        StretchBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0,
                   Width(), Height(), canvas.CopyMode());
    }
}

void TBitmap::DrawTransparent(HDC target, const RECT& rect, HDC source) {
    int width = Width(), height = Height();
    int targetWidth = rect.right - rect.left, targetHeight = rect.bottom - rect.top;
    HBITMAP mask = MaskHandle();
    TMemoryDC maskDC;
    TSelection maskSelection(maskDC.Get(), mask);
    // The picture with its transparent pixels made black...
    TMemoryDC workDC;
    TBitmapHandle work(CreateScreenBitmap(width, height));
    TSelection workSelection(workDC.Get(), work.Get());
    BitBlt(workDC.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    SetBkColor(workDC.Get(), RGB(0, 0, 0));
    SetTextColor(workDC.Get(), RGB(255, 255, 255));
    BitBlt(workDC.Get(), 0, 0, width, height, maskDC.Get(), 0, 0, SRCAND);
    // ...the target cleared where the picture is opaque, then the two combined.
    SetTextColor(target, RGB(0, 0, 0));
    SetBkColor(target, RGB(255, 255, 255));
    StretchBlt(target, rect.left, rect.top, targetWidth, targetHeight, maskDC.Get(), 0, 0, width, height, SRCAND);
    StretchBlt(target, rect.left, rect.top, targetWidth, targetHeight, workDC.Get(), 0, 0, width, height,
               SRCPAINT);
}
