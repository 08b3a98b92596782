#pragma once
// Helpers shared by the picture tests: temporary files, pixel reads, and icon files built
// byte by byte so each entry has a colour of its own.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/FileStream.h"
#include "picture/bmp/Bitmap_win.h"
#include "support/FileBytes.h"

std::string TempPath(const std::string& name);
void WriteFileBytes(const std::string& name, const std::vector<uint8_t>& bytes);
std::string FixturePath(const std::string& name);

struct TestIconEntry {
    int width;
    int height;
    int bitCount;        // 4, 8 or 24
    uint8_t colorByte;   // the directory's colour-count byte
    COLORREF color;      // the whole image is this colour (nearest table entry for 4/8 bits)
};
// An icon file whose images are filled with their entry's colour, fully opaque.
std::vector<uint8_t> BuildIconFile(const std::vector<TestIconEntry>& entries);

// The colour at (x, y) of a bitmap, 0x00BBGGRR.
COLORREF PixelAt(TBitmap& bitmap, int x, int y);
