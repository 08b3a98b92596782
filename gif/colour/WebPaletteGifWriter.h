#pragma once
// A one-frame GIF of a true-colour picture, reduced to the web palette by nearest colour and
// LZW-coded as its rows arrive, top row first: byte for byte what a picture with the default
// settings (web palette, nearest colour, LZW) writes after being assigned the same rows, but
// without the whole 8-bit frame in memory and without waiting for the last row.
#include <cstdint>
#include <vector>

#include "gif/codec/GifImageModel.h"
#include "gif/codec/GifLzwEncoder.h"
#include "gif/codec/GifStream.h"

class TWebPaletteGifWriter {
public:
    // Writes everything before the first pixel: header, frame descriptor and colour table.
    TWebPaletteGifWriter(TStream& out, int width, int height);
    TWebPaletteGifWriter(const TWebPaletteGifWriter&) = delete;
    TWebPaletteGifWriter& operator=(const TWebPaletteGifWriter&) = delete;

    // The next row: width pixels of blue, green, red.
    void AddRow(const uint8_t* bgr);
    int RowsAdded() const { return rows_; }
    // Ends the pixel data and writes the trailer, once every row has come.
    void Finish();

private:
    TStream& out_;
    TGIFImageModel image_;  // the header and frame description the bytes come from
    TGIFWriter writer_;
    TLZWEncoder encoder_;
    std::vector<uint8_t> indices_;
    int rows_ = 0;
};
