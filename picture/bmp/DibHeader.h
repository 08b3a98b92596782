#pragma once
// The bitmap information header as BMP files, icon images and packed clipboard bitmaps hold
// it: the 12-byte core header, the 40-byte header and its longer successors, with the colour
// masks and the colour table that follow. Every size and count is checked against the data.
#include <cstddef>
#include <cstdint>

#include "base/ByteReader.h"
#include "picture/bmp/DibFormat.h"

// Largest width or height accepted from a file.
constexpr uint32_t kMaxDibSide = 0x7FFF * 2;

struct TDibHeader {
    uint32_t headerSize = 0;
    uint32_t width = 0;
    uint32_t height = 0;      // rows, whatever the direction
    bool topDown = false;     // negative height in the file
    uint16_t bitCount = 0;
    uint32_t compression = 0; // as stored: kBiRgb, kBiRle8, kBiRle4 or kBiBitFields
    uint32_t sizeImage = 0;
    TDibFormat format;        // bit count, masks (bit fields), colour table
};

// Reads the header at the reader's position and leaves the reader after the colour table.
// A header that is short, lies about its sizes or names a layout bitmaps cannot have
// throws EInvalidGraphic(invalidMessage). `heightScale` divides the stored height (icon
// images store colour and mask rows together, twice the image's height).
TDibHeader ReadDibHeader(ByteReader& reader, const char* invalidMessage, uint32_t heightScale = 1);
