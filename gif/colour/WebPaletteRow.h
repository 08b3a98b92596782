#pragma once
// The nearest web-palette index of every pixel of a row of blue, green, red bytes:
// 36 x level(red) + 6 x level(green) + level(blue), level(c) = (c + 3) div 51.
#include <cstdint>

void MapRowToWebPalette(const uint8_t* bgr, uint8_t* indices, int width);
// The plain version, one pixel at a time (also used for the tail of a row).
void MapRowToWebPalettePlain(const uint8_t* bgr, uint8_t* indices, int width);
