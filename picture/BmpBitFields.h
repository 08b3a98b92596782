#pragma once
// Pixels whose channels are described by bit masks. The system draws 16-bit pictures with
// 5-5-5 or 5-6-5 channels and 32-bit pictures with 8-8-8 channels; pictures with any other
// masks are repacked into those layouts at their own depth, each channel scaled to its new
// width.
#include <cstdint>
#include <vector>

#include "picture/DibFormat.h"

// The value of one channel scaled to 8 bits (0 for an empty mask).
uint8_t ExtractChannel(uint32_t pixel, uint32_t mask);

// Leaves 5-5-5, 5-6-5 and 8-8-8 pictures as they are; repacks others into 5-6-5 (16 bits)
// or 8-8-8 (32 bits) and updates `format`. Rows are padded rows of `width` pixels.
void NormalizeBitFields(TDibFormat& format, std::vector<uint8_t>& rows, uint32_t width, uint32_t height);
