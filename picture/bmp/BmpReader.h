#pragma once
// Reading BMP files into a DIB of the file's own layout. Headers that lie give "Bitmap image
// is not valid"; pixel data cut short gives "Stream read error"; nothing is read outside the
// data and nothing is allocated beyond what the file can describe.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/bmp/DibFormat.h"

struct TBmpImage {
    TDibFormat format;            // kBiRgb or kBiBitFields (run-length pictures are decoded)
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> bits;    // padded rows, bottom row first
    size_t consumed = 0;          // bytes of the data that belong to the file
    bool runLengthEncoded = false;
};

// Largest decoded picture a run-length file may ask for: runs and jumps let a few bytes
// describe a large picture, so the size is bounded relative to the compressed data.
constexpr size_t kRleMinimumBudget = 16u << 20;
constexpr size_t kRleExpansionLimit = 256;
constexpr size_t kMaxDecodedBytes = 256u << 20;

// A BMP file ("BM", file header, information header, colour table, pixels).
TBmpImage ReadBmp(const uint8_t* data, size_t size);
// A packed bitmap: information header, table and pixels without the file header.
TBmpImage ReadPackedDib(const uint8_t* data, size_t size);
