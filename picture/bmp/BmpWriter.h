#pragma once
// Writing BMP files: the 14-byte file header, the 40-byte information header, the three
// colour masks of bit-field pictures, the colour table and the padded rows, bottom first.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/bmp/DibFormat.h"

// `bits` holds height padded rows of width pixels in `format`.
std::vector<uint8_t> WriteBmp(const TDibFormat& format, uint32_t width, uint32_t height, const uint8_t* bits,
                              size_t bitsSize);
