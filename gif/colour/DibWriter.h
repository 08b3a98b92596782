#pragma once
// A device-independent image in memory as the colour reduction writes it: a 40-byte
// information header, for 8 bits per pixel a 256-entry colour table (blue, green, red, 0),
// and rows padded to 32 bits, bottom row first. Released as a bitmap file image.
#include <cstdint>
#include <memory>
#include <vector>

#include "gif/codec/GifBitmapSource.h"
#include "gif/codec/GifColorMap.h"

class TDIBWriter {
public:
    // Throws "Invalid image dimensions" for a side of 0, "Unsupported PixelFormat" for other
    // than 8 or 24 bits, and "Failed to allocate memory for GIF DIB" (EOutOfMemory).
    TDIBWriter(const std::vector<TGIFColor>& palette, int height, int width, int bitsPerPixel);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    size_t RowBytes() const { return rowBytes_; }
    // Row 0 is the top row. Throws "Image has no DIB" once the pixels were handed over, and a
    // scan-line range error for a row outside the image.
    uint8_t* ScanLine(int row);
    // The 256 colours of the table (the palette, then black).
    const std::vector<TGIFColor>& Colors() const { return colors_; }
    int ImportantColors() const { return importantColors_; }

    // The image as a bitmap file: "BM", total size, pixel offset; then header, table, rows.
    // The writer gives up its pixels.
    std::vector<uint8_t> ReleaseBitmapFile();
    // The 8-bit image as a bitmap source for a GIF frame (valid while the writer lives).
    TGIFBitmapSource AsBitmapSource();

private:
    int width_, height_, bitsPerPixel_;
    size_t rowBytes_;
    int importantColors_;
    std::vector<TGIFColor> colors_;
    // Rows are written whole by their producer, so only the padding is cleared up front.
    std::unique_ptr<uint8_t[]> bits_;
    size_t bitsSize_ = 0;
};
