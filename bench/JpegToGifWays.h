#pragma once
// The two ways the program turns a JPEG photograph into a GIF or a PNG, for the benchmarks that
// time them and check that they write the same bytes: one after the other (decode, reduce to
// the web palette and code, or filter and deflate, save), and on two threads
// (convert/JpegGifPipeline.h, convert/JpegPngPipeline.h).
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/FileStream.h"
#include "bench/BenchFiles.h"
#include "convert/JpegGifPipeline.h"
#include "convert/JpegPngPipeline.h"
#include "gif/colour/TrueColorAssign.h"
#include "picture/jpeg/JpegDecoder.h"
#include "picture/png/PngWriter.h"

// 24-bit rows, top row first, in one block.
class TPhotoRows : public TJpegDecodeTarget {
public:
    TJpegRows PrepareRows(int32_t width, int32_t height, int bitsPerPixel) override {
        if (bitsPerPixel != 24) throw std::runtime_error("the photograph must decode to 24 bits");
        width_ = width;
        height_ = height;
        // Not cleared: as with a new bitmap's memory, the pages come to the decoder untouched.
        pixels_.reset(new uint8_t[static_cast<size_t>(width) * height * 3]);
        return {pixels_.get(), static_cast<ptrdiff_t>(width) * 3};
    }
    void SetPalette(const std::vector<TJpegColor>&) override {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    TRgbRows Rows() const {
        return {width_, height_, [this](int row) { return pixels_.get() + static_cast<size_t>(row) * width_ * 3; }};
    }

private:
    int width_ = 0, height_ = 0;
    std::unique_ptr<uint8_t[]> pixels_;
};

// Decoded whole, then reduced and coded through the GIF model, then saved.
inline void WriteJpegAsGifInTurn(const std::string& photo, const std::string& out) {
    TMemoryStream compressed(FileBytes(photo));
    TPhotoRows rows;
    DecodeJpeg(compressed, DefaultJpegSettings, rows);
    TGIFImageModel image;
    AssignTrueColor(image, rows.Rows());
    SaveFileSafely(out, [&](TStream& stream) { image.SaveToStream(stream); });
}

// Decoded on one thread while the other reduces and codes, then saved.
inline void WriteJpegAsGifOnTwoThreads(const std::string& photo, const std::string& out) {
    TMemoryStream compressed(FileBytes(photo));
    TPhotoRows rows;
    TMemoryStream gif;
    PipeJpegToGif(compressed, DefaultJpegSettings, rows, gif);
    SaveFileSafely(out, [&](TStream& stream) { gif.SaveToStream(stream); });
}

// Decoded whole, then filtered and deflated row by row, then saved.
inline void WriteJpegAsPngInTurn(const std::string& photo, const std::string& out) {
    TMemoryStream compressed(FileBytes(photo));
    TPhotoRows rows;
    DecodeJpeg(compressed, DefaultJpegSettings, rows);
    TMemoryStream png;
    TPngWriter writer(png, rows.Width(), rows.Height(), TPngLayout::Rgb);
    const TRgbRows pixels = rows.Rows();
    for (int y = 0; y < pixels.Height; ++y) writer.AddRow(pixels.Row(y));
    writer.Finish();
    SaveFileSafely(out, [&](TStream& stream) { png.SaveToStream(stream); });
}

// Decoded on one thread while the other filters and deflates, then saved.
inline void WriteJpegAsPngOnTwoThreads(const std::string& photo, const std::string& out) {
    TMemoryStream compressed(FileBytes(photo));
    TPhotoRows rows;
    TMemoryStream png;
    PipeJpegToPng(compressed, DefaultJpegSettings, rows, png);
    SaveFileSafely(out, [&](TStream& stream) { png.SaveToStream(stream); });
}
