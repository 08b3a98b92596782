#pragma once
// Pixels whose channels are described by bit masks. Masks that name each channel as one
// run of bits, with no overlap, are kept as the file has them: the picture keeps its own
// layout. Masks the system cannot draw with (empty, broken into pieces, overlapping) are
// replaced: the pixels are repacked into 8-8-8 at 32 bits, each channel scaled to 8 bits.
#include <cstdint>
#include <vector>

#include "picture/bmp/DibFormat.h"

// The value of one channel scaled to 8 bits (0 for an empty mask).
uint8_t ExtractChannel(uint32_t pixel, uint32_t mask);
// True when every mask is one non-empty run of bits within the pixel and no two overlap.
bool UsableBitFields(const TDibFormat& format);
// Repacks pictures whose masks are not usable; `format` and `rows` (padded rows of `width`
// pixels) are updated. Pictures without bit fields are left alone.
void NormalizeBitFields(TDibFormat& format, std::vector<uint8_t>& rows, uint32_t width, uint32_t height);
