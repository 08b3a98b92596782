#include "picture/jpeg/JpegImage_win.h"

#include <memory>

#include <cstring>
#include <vector>

#include "base/ByteReader.h"
#include "picture/Picture_win.h"
#include "picture/jpeg/JpegBitmapRows_win.h"
#include "picture/jpeg/JpegDecoder.h"
#include "picture/jpeg/JpegEncoder.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/ScreenDevice_win.h"

TERVANE_DEFINE_GRAPHIC_CLASS(TJPEGImage, TGraphic)

namespace {

TProgressStage ToGraphicStage(TJpegProgressStage stage) {
    switch (stage) {
    case TJpegProgressStage::Starting: return psStarting;
    case TJpegProgressStage::Running: return psRunning;
    case TJpegProgressStage::Ending: break;
    }
    return psEnding;
}

}  // namespace

TJPEGImage::TJPEGImage() : data_(std::make_shared<TJPEGData>()), settings_(DefaultJpegSettings) {}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(const TGraphic* source) {
    if (source == this) return;
    if (source && source->InheritsFrom(TJPEGImage::StaticClass())) {
        const auto* other = static_cast<const TJPEGImage*>(source);
        data_ = other->data_;
        bitmap_.reset();
        if (other->bitmap_) {
            bitmap_ = std::make_unique<TBitmap>();
            bitmap_->Assign(other->bitmap_.get());
        }
    } else if (source && source->InheritsFrom(TBitmap::StaticClass())) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(source);
        data_ = std::make_shared<TJPEGData>();
        bitmap_ = std::move(copy);
    } else {
        TGraphic::Assign(source);
        return;
    }
    scaledWidth_ = scaledHeight_ = -1;
    SetPaletteModified(true);
    Changed();
}

void TJPEGImage::AssignTo(TGraphic* target) const {
    if (target && target->InheritsFrom(TBitmap::StaticClass())) {
        target->Assign(&const_cast<TJPEGImage*>(this)->Bitmap());
        return;
    }
    TGraphic::AssignTo(target);
}

void TJPEGImage::Draw(TCanvas& canvas, const RECT& rect) { Bitmap().Draw(canvas, rect); }

bool TJPEGImage::Empty() const { return !data_->CompressedBytes && (!bitmap_ || bitmap_->Empty()); }

int TJPEGImage::Width() const {
    if (bitmap_) return bitmap_->Width();
    if (settings_.ReductionScale == TJpegReductionScale::Full) return data_->ImageWidth;
    ComputeScaledSize();
    return scaledWidth_;
}

int TJPEGImage::Height() const {
    if (bitmap_) return bitmap_->Height();
    if (settings_.ReductionScale == TJpegReductionScale::Full) return data_->ImageHeight;
    ComputeScaledSize();
    return scaledHeight_;
}

void TJPEGImage::ComputeScaledSize() const {
    if (scaledWidth_ >= 0) return;
    if (!data_->CompressedBytes || data_->ImageWidth <= 0) {
        scaledWidth_ = scaledHeight_ = 0;
        return;
    }
    TMemoryStream& compressed = *data_->CompressedBytes;
    compressed.SetPosition(0);
    TJpegHeader header = ReadJpegHeader(compressed, settings_.ReductionScale);
    scaledWidth_ = header.ScaledWidth;
    scaledHeight_ = header.ScaledHeight;
}

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation(ErrorText::JpegSizeChange); }

void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation(ErrorText::JpegSizeChange); }

HPALETTE TJPEGImage::Palette() const { return bitmap_ ? bitmap_->Palette() : nullptr; }

void TJPEGImage::SetPalette(HPALETTE palette) {
    if (bitmap_) {
        bitmap_->SetPalette(palette);
    } else if (palette) {
        DeleteObject(palette);  // ours to free: there is no picture to give it to
    }
    SetPaletteModified(true);
    Changed();
}

void TJPEGImage::ReadData(TStream& stream) {
    uint8_t sizeBytes[4];
    stream.ReadBuffer(sizeBytes, sizeof sizeBytes);
    int32_t size = ByteReader(sizeBytes, sizeof sizeBytes).ReadI32LE();
    if (size < 0 || size > stream.Remaining()) throw EReadError(ErrorText::StreamRead);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    stream.ReadBuffer(bytes.data(), bytes.size());
    TMemoryStream file(std::move(bytes));
    LoadFromStream(file);
}

void TJPEGImage::WriteData(TStream& stream) const {
    TMemoryStream file;
    SaveToStream(file);
    std::vector<uint8_t> size;
    PutU32LE(size, static_cast<uint32_t>(file.Size()));
    stream.WriteBuffer(size.data(), size.size());
    file.SaveToStream(stream);
}

void TJPEGImage::LoadFromStream(TStream& stream) {
    data_ = std::make_shared<TJPEGData>();
    bitmap_.reset();
    scaledWidth_ = scaledHeight_ = -1;
    data_->CompressedBytes = std::make_unique<TMemoryStream>(stream.ReadRemaining());
    TMemoryStream& compressed = *data_->CompressedBytes;
    // An empty file loads; its error comes when it is first decoded.
    if (compressed.Size() > 0) {
        TJpegHeader header = ReadJpegHeader(compressed);
        data_->ImageWidth = header.ImageWidth;
        data_->ImageHeight = header.ImageHeight;
        data_->IsGray = header.IsGray;
        settings_.WriteProgressive = header.MultiScan;
    }
    SetPaletteModified(true);
    Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) const {
    if (!data_->CompressedBytes) {
        const_cast<TJPEGImage*>(this)->Compress();
        // A progress listener cancelled the encode: a file saved now would hold nothing, so
        // the save ends silently and the file keeps what it had.
        if (!data_->CompressedBytes) throw EAbort("");
    }
    const std::vector<uint8_t>& bytes = data_->CompressedBytes->Bytes();
    stream.WriteBuffer(bytes.data(), bytes.size());
}

void TJPEGImage::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) {
    TBitmap bitmap;
    bitmap.LoadFromClipboardFormat(format, data, palette);
    Assign(&bitmap);
}

void TJPEGImage::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) const {
    const_cast<TJPEGImage*>(this)->Bitmap().SaveToClipboardFormat(format, data, palette);
}

void TJPEGImage::Compress() {
    // Never write into data another object still holds: it keeps its own bytes.
    if (data_->CompressedBytes || data_.use_count() > 1) data_ = std::make_shared<TJPEGData>();
    scaledWidth_ = scaledHeight_ = -1;
    data_->CompressedBytes = std::make_unique<TMemoryStream>();
    if (!bitmap_ || bitmap_->Width() == 0 || bitmap_->Height() == 0) return;
    data_->ImageWidth = bitmap_->Width();
    data_->ImageHeight = bitmap_->Height();
    data_->IsGray = settings_.GrayOutput;
    TBitmap pixels;
    pixels.Assign(bitmap_.get());
    pixels.SetPixelFormat(pf24bit);
    TJpegRows rows = TJpegBitmapRows::RowsOf(pixels);
    TJpegSourceRows source{rows.FirstRow, rows.RowStep, pixels.Width(), pixels.Height()};
    try {
        if (!EncodeJpeg(source, settings_, *data_->CompressedBytes, ProgressHandler({0, 0, source.Width, source.Height})))
            data_ = std::make_shared<TJPEGData>();
    } catch (...) {
        // Half-written bytes must never be saved as if they were the picture.
        data_ = std::make_shared<TJPEGData>();
        throw;
    }
}

TBitmap& TJPEGImage::Bitmap() {
    if (!bitmap_) Decode();
    return *bitmap_;
}

void TJPEGImage::Decode() {
    auto bitmap = std::make_unique<TBitmap>();
    if (!data_->CompressedBytes) {
        bitmap_ = std::move(bitmap);
        return;
    }
    RECT area{0, 0, Width(), Height()};
    TMemoryStream& compressed = *data_->CompressedBytes;
    compressed.SetPosition(0);
    TJpegBitmapRows rows(*bitmap);
    // An abort by a progress listener keeps the picture as far as it got.
    DecodeJpeg(compressed, settings_, rows, ProgressHandler(area));
    bitmap_ = std::move(bitmap);
    if (rows.PaletteSet()) {
        SetPaletteModified(true);
        Changed();
    }
}

TJpegProgressHandler TJPEGImage::ProgressHandler(const RECT& area) {
    if (!OnProgress) return {};
    return [this, area](TJpegProgressStage stage, int percent, bool redrawNow) {
        Progress(ToGraphicStage(stage), static_cast<uint8_t>(percent), redrawNow, area, std::string());
    };
}

void TJPEGImage::DropDecodedPicture() {
    // A bitmap given to be encoded is the picture itself and stays.
    if (data_->CompressedBytes && bitmap_) bitmap_.reset();
    scaledWidth_ = scaledHeight_ = -1;
}

template <typename T>
void TJPEGImage::ChangeDecodeSetting(T& setting, T value) {
    if (setting == value) return;
    setting = value;
    DropDecodedPicture();
    Changed();
}

void TJPEGImage::SetGrayOutput(bool grey) { ChangeDecodeSetting(settings_.GrayOutput, grey); }
void TJPEGImage::SetSpeedMode(TJpegSpeedMode mode) { ChangeDecodeSetting(settings_.SpeedMode, mode); }
void TJPEGImage::SetOutputDepth(TJpegOutputDepth depth) { ChangeDecodeSetting(settings_.OutputDepth, depth); }
void TJPEGImage::SetShowProgressively(bool progressively) {
    ChangeDecodeSetting(settings_.ShowProgressively, progressively);
}
void TJPEGImage::SetReductionScale(TJpegReductionScale scale) { ChangeDecodeSetting(settings_.ReductionScale, scale); }
void TJPEGImage::SetBlockSmoothing(bool smoothing) { ChangeDecodeSetting(settings_.BlockSmoothing, smoothing); }

void AdaptJpegDefaultsToDisplay() {
    int bits = ScreenBitsPerPixel();
    if (bits > 0 && bits <= 8) DefaultJpegSettings.OutputDepth = TJpegOutputDepth::Bits8;
}

namespace {

std::unique_ptr<TFileFormatRegistration> jpegFormat;
std::unique_ptr<TFileFormatRegistration> jpgFormat;

}  // namespace

// The display's defaults, then the two extensions, in this order. Called once at program
// start, after the GIF unit, so the registry lists gif, jpeg, jpg in that order.
void InitializeJpegUnit() {
    if (jpegFormat) return;
    AdaptJpegDefaultsToDisplay();
    jpegFormat = std::make_unique<TFileFormatRegistration>("jpeg", "JPEG Image File", TJPEGImage::StaticClass());
    jpgFormat = std::make_unique<TFileFormatRegistration>("jpg", "JPEG Image File", TJPEGImage::StaticClass());
}

void FinalizeJpegUnit() {
    jpgFormat.reset();
    jpegFormat.reset();
}
