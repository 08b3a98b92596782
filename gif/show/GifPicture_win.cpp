#include "gif/show/GifPicture_win.h"

#include "base/Exceptions.h"
#include "gif/colour/ColorReduction_win.h"
#include "picture/Picture_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/GraphicsObjects_win.h"
#include "toolkit/ScreenDevice_win.h"
#include "toolkit/WideText_win.h"

TERVANE_DEFINE_GRAPHIC_CLASS(TGIFImage, TGraphic)

UINT CF_GIF = 0;
bool GIFAutoDither = false;

namespace {

TProgressStage GraphicStage(TGIFProgressStage stage) {
    switch (stage) {
    case TGIFProgressStage::Starting: return psStarting;
    case TGIFProgressStage::Running: return psRunning;
    default: return psEnding;
    }
}

// The bitmap's rows and colours as the frame import reads them. A device-dependent bitmap
// becomes a DIB of its own depth when its rows are asked for.
TGIFBitmapSource SourceOf(TBitmap& bitmap, int bitsPerPixel) {
    TGIFBitmapSource source;
    source.Width = bitmap.Width();
    source.Height = bitmap.Height();
    source.BitsPerPixel = bitsPerPixel;
    const bool wasDib = bitmap.HandleType() == bmDIB;
    if (!bitmap.Empty()) bitmap.ScanLine(0);
    if (bitsPerPixel <= 8) source.Colors = wasDib ? GifColorsOfTable(bitmap.DibFormat().colors) : GifColorsOfPalette(bitmap.Palette());
    if (bitsPerPixel <= 8 && source.Colors.empty()) source.Colors = GifColorsOfTable(bitmap.DibFormat().colors);
    TBitmap* rows = &bitmap;
    source.Row = [rows](int row) { return static_cast<const uint8_t*>(rows->ScanLine(row)); };
    return source;
}

}  // namespace

TGIFImage::TGIFImage() {
    TGIFImageModel::OnProgress = [this](TGIFProgressStage stage, int percent, const std::string& message) {
        TGraphic::Progress(GraphicStage(stage), static_cast<uint8_t>(percent), false, RECT{0, 0, 0, 0}, message);
    };
}

TGIFImage::~TGIFImage() { StopPainters(); }

void TGIFImage::SetWidth(int width) {
    Header.SetWidth(width);
    FramesChanged();
    Changed();
}

void TGIFImage::SetHeight(int height) {
    Header.SetHeight(height);
    FramesChanged();
    Changed();
}

void TGIFImage::SaveToStream(TStream& stream) const { TGIFImageModel::SaveToStream(stream); }

namespace {

// The original bitmap's transparent colour, for pixels that are there.
void SetTransparencyOf(TGIFBitmapSource& source, const TBitmap& original) {
    source.Transparent = original.Transparent() && source.Width > 0 && source.Height > 0;
    if (source.Transparent) {
        const COLORREF key = ColorToRGB(original.TransparentColor());
        source.TransparentColor = {GetRValue(key), GetGValue(key), GetBValue(key)};
    }
}

// Imports the pixels of an indexed or 24-bit bitmap; transparency comes from the original.
void ImportPixels(TGIFSubImage& frame, TBitmap& pixels, const TBitmap& original) {
    TGIFBitmapSource source = SourceOf(pixels, pixels.Empty() ? 8 : pixels.BitsPerPixel());
    SetTransparencyOf(source, original);
    frame.ImportBitmap(source);
}

}  // namespace

// A 24-bit device-independent bitmap is reduced where it lies, straight into the frame:
// neither a private copy of its pixels nor an 8-bit bitmap in between (for a photograph these
// cost as much as the reduction itself). False when the reduction gives nothing.
bool TGIFImage::ImportTrueColorDib(TGIFSubImage& frame, const TBitmap& bitmap) {
    const TBitmap* pixels = &bitmap;
    TRgbRows rows{bitmap.Width(), bitmap.Height(),
                  [pixels](int row) { return static_cast<const uint8_t*>(pixels->ReadScanLine(row)); }};
    TWinSystemPalettes system;
    std::unique_ptr<TDIBWriter> reduced = ReduceColorRows(rows, ReductionMethod, DitherKind, nullptr, QuantizeBits, &system);
    if (!reduced) return false;
    TGIFBitmapSource source = reduced->AsBitmapSource();
    SetTransparencyOf(source, bitmap);
    frame.ImportBitmap(source);
    return true;
}

void TGIFImage::ImportBitmapFrame(TGIFSubImage& frame, const TBitmap& bitmap) {
    if (!bitmap.Empty() && bitmap.PixelFormat() == pf24bit && ReductionMethod != GifReduction::KeepColors &&
        ImportTrueColorDib(frame, bitmap))
        return;
    // A private copy: reading rows may convert the bitmap, and the caller's stays as it was.
    TBitmap work;
    work.Assign(&bitmap);
    const int bits = work.Empty() ? 8 : work.BitsPerPixel();
    if (bits == 1 || bits == 4 || bits == 8) {
        ImportPixels(frame, work, bitmap);
        return;
    }
    std::unique_ptr<TBitmap> reduced = ReduceColors(work, ReductionMethod, DitherKind, nullptr, QuantizeBits);
    ImportPixels(frame, *reduced, bitmap);
}

void TGIFImage::AssignFromBitmap(const TBitmap& bitmap) {
    Clear();
    auto frame = std::make_unique<TGIFSubImage>(this);
    try {
        ImportBitmapFrame(*frame, bitmap);
    } catch (const EConvertError&) {
        frame.reset();
        TGraphic::Assign(&bitmap);  // reports that the source cannot be assigned
        return;
    }
    Images.Add(std::move(frame));
    FramesChanged();
    Changed();
}

void TGIFImage::Assign(const TGraphic* source) {
    if (!source) {
        Clear();
        Changed();
        return;
    }
    if (source->InheritsFrom(TBitmap::StaticClass())) {
        AssignFromBitmap(*static_cast<const TBitmap*>(source));
        return;
    }
    if (source->InheritsFrom(TGIFImage::StaticClass())) {
        const auto* gif = static_cast<const TGIFImage*>(source);
        if (gif == this) return;
        CopyFrom(*gif);
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TGIFImage::LoadFromStream(TStream& stream) {
    TGIFImageModel::LoadFromStream(stream);
    FramesChanged();
    Changed();
}

namespace {

const char GifClipboardName[] = "GIF Image";
HANDLE placeholderThread = nullptr;

DWORD WINAPI PlaceholderThreadBody(LPVOID) { return 0; }

}  // namespace

void InitializeGifUnit() {
    TPicture::RegisterFileFormat("GIF", "GIF Image", TGIFImage::StaticClass());
    CF_GIF = RegisterClipboardFormatW(Wide(GifClipboardName));
    GIFAutoDither = ScreenBitsPerPixel() < 9;
    if (!placeholderThread) placeholderThread = CreateThread(nullptr, 0, PlaceholderThreadBody, nullptr, CREATE_SUSPENDED, nullptr);
}

void FinalizeGifUnit() {
    TPicture::UnregisterGraphicClass(TGIFImage::StaticClass());
    if (placeholderThread) {
        // Never resumed: letting it run its empty body is the clean way to end it.
        ResumeThread(placeholderThread);
        WaitForSingleObject(placeholderThread, INFINITE);
        CloseHandle(placeholderThread);
        placeholderThread = nullptr;
    }
}
