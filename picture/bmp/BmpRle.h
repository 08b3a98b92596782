#pragma once
// Run-length decoding of 8 and 4-bit bitmaps into padded rows, bottom row first. Runs and
// jumps that leave the picture are clipped; data that ends before the end-of-bitmap code
// leaves the rest at index 0, as the system's own decoder does.
#include <cstddef>
#include <cstdint>
#include <vector>

// bitCount is 8 or 4; the caller has bounded width x height.
std::vector<uint8_t> DecodeRle(const uint8_t* data, size_t size, uint16_t bitCount, uint32_t width,
                               uint32_t height);
