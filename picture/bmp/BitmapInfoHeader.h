#pragma once
// The 40-byte bitmap information header, field by field, as BMP files, icon images and the
// system's bitmap descriptions hold it; and the sizes of the parts that may follow it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/ByteReader.h"

inline constexpr uint32_t kInfoHeaderSize = 40;
inline constexpr uint32_t kColourMasksSize = 12;  // three DWORD masks behind a bit-field header

struct TBitmapInfoHeader {
    uint32_t size = kInfoHeaderSize;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};

// The fields after the size, from the reader's position; too few bytes throw
// EInvalidGraphic(invalid). `size` is left for the caller, who read it to choose the header.
void ReadInfoHeaderFields(ByteReader& reader, TBitmapInfoHeader& header, const char* invalid);
// Reads 40 bytes the caller has made sure are there.
TBitmapInfoHeader LoadBitmapInfoHeader(const uint8_t* bytes);

void PutBitmapInfoHeader(std::vector<uint8_t>& out, const TBitmapInfoHeader& header);
using TInfoHeaderBytes = std::array<uint8_t, kInfoHeaderSize>;
TInfoHeaderBytes StoreBitmapInfoHeader(const TBitmapInfoHeader& header);
