#pragma once
// The JPEG picture: a JPEG file's bytes, shared between copies, and the bitmap they decode
// to, made on first need: the picture upright, as the file's EXIF orientation says (its width
// and height too). A bitmap given to it is encoded on request (or when saved).
// Registered for the extensions "jpeg" and "jpg".
#include <windows.h>

#include <cstdint>
#include <memory>

#include "base/Exceptions.h"
#include "base/Streams.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/graphic/Graphic_win.h"
#include "picture/jpeg/JpegProgressMonitor.h"
#include "picture/jpeg/JpegSettings.h"

// The compressed side, shared by every JPEG object that was copied from one another and
// freed with the last of them.
class TJPEGData {
public:
    std::unique_ptr<TMemoryStream> CompressedBytes;  // the complete file, or none
    int32_t ImageWidth = 0;
    int32_t ImageHeight = 0;
    bool IsGray = false;
};
using TJPEGDataPtr = std::shared_ptr<TJPEGData>;

class TJPEGImage : public TGraphic {
public:
    TERVANE_GRAPHIC_CLASS(TJPEGImage)

    // Empty, with the settings of DefaultJpegSettings.
    TJPEGImage();
    ~TJPEGImage() override;

    // Another JPEG picture: share its data and copy its decoded bitmap. A bitmap: keep a copy
    // of it to encode. Anything else: EConvertError.
    void Assign(const TGraphic* source) override;
    // Into a bitmap: the decoded picture (decoding first). Anything else: EConvertError.
    void AssignTo(TGraphic* target) const override;
    // Stretch-draws the decoded bitmap (decoding first).
    void Draw(TCanvas& canvas, const RECT& rect) override;
    // No compressed bytes and no picture in the bitmap.
    bool Empty() const override;
    bool StillPixels() const override { return true; }
    int Width() const override;
    int Height() const override;
    // A JPEG picture cannot be resized: EInvalidGraphicOperation.
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    HPALETTE Palette() const override;
    void SetPalette(HPALETTE palette) override;

    // Form streaming: a 32-bit byte count, then the file.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) const override;
    // Takes the rest of the stream as the file and reads its header.
    void LoadFromStream(TStream& stream) override;
    // Writes the file, compressing the bitmap first when there are no compressed bytes.
    void SaveToStream(TStream& stream) const override;
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) const override;

    // Encodes the bitmap into new compressed bytes (none for a missing or empty bitmap).
    void Compress();
    // The decoded picture, decoding first when there is none.
    TBitmap& Bitmap();
    const TBitmap* DecodedBitmap() const { return bitmap_.get(); }
    const TJPEGData& Data() const { return *data_; }
    bool SharesDataWith(const TJPEGImage& other) const { return data_ == other.data_; }

    // Settings. Those that shape the decoded picture drop a bitmap decoded from compressed
    // bytes, so the next use decodes again with them.
    const TJpegSettings& Settings() const { return settings_; }
    uint8_t QualityLevel() const { return settings_.QualityLevel; }
    void SetQualityLevel(uint8_t quality) { settings_.QualityLevel = quality; }
    bool WriteProgressive() const { return settings_.WriteProgressive; }
    void SetWriteProgressive(bool progressive) { settings_.WriteProgressive = progressive; }
    bool GrayOutput() const { return settings_.GrayOutput; }
    void SetGrayOutput(bool grey);
    TJpegSpeedMode SpeedMode() const { return settings_.SpeedMode; }
    void SetSpeedMode(TJpegSpeedMode mode);
    TJpegOutputDepth OutputDepth() const { return settings_.OutputDepth; }
    void SetOutputDepth(TJpegOutputDepth depth);
    bool ShowProgressively() const { return settings_.ShowProgressively; }
    void SetShowProgressively(bool progressively);
    TJpegReductionScale ReductionScale() const { return settings_.ReductionScale; }
    void SetReductionScale(TJpegReductionScale scale);
    bool BlockSmoothing() const { return settings_.BlockSmoothing; }
    void SetBlockSmoothing(bool smoothing);

private:
    void Decode();
    void DropDecodedPicture();
    template <typename T>
    void ChangeDecodeSetting(T& setting, T value);
    TJpegProgressHandler ProgressHandler(const RECT& area);
    void ComputeScaledSize() const;

    TJPEGDataPtr data_;
    std::unique_ptr<TBitmap> bitmap_;
    TJpegSettings settings_;
    mutable int32_t scaledWidth_ = -1;  // -1 until computed
    mutable int32_t scaledHeight_ = -1;
};

// Sets the depth of decoded pictures for the display the program starts on: 8 bits when it
// shows no more than 256 colours. Runs once at start-up, before any JPEG object exists.
void AdaptJpegDefaultsToDisplay();
// Unit start-up and shutdown: registers "jpeg" and "jpg" ("JPEG Image File") with the picture
// formats, and removes them again.
void InitializeJpegUnit();
void FinalizeJpegUnit();
