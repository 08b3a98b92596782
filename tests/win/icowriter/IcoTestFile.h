#pragma once
// Test-side reading of the one-image .ico files the writer makes, kept apart from the writer's
// own code: the pixels as colours and transparency, and the colour image and the mask
// re-wrapped as BMP files for ImageMagick (whose ICO reader takes 16-bit icons for
// 65536-colour palette images).
#include <cstdint>
#include <string>
#include <vector>

#include "support/FileBytes.h"

void WriteFileBytes(const std::string& fileName, const std::vector<uint8_t>& bytes);

class TIcoTestFile {
public:
    // Throws std::runtime_error when the bytes are not a one-image icon of 8 or 16 bits.
    explicit TIcoTestFile(std::vector<uint8_t> bytes);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitCount() const { return bitCount_; }
    // 0xRRGGBB of the pixel (x, y), y = 0 at the top; 5-bit channels widened to 8 bits.
    uint32_t Rgb(int x, int y) const;
    bool Transparent(int x, int y) const;
    // 0xRRGGBB of colour-table entry `index` (8-bit icons).
    uint32_t TableEntry(int index) const;
    uint32_t PixelWord(int x, int y) const;  // the raw index or 16-bit word

    std::vector<uint8_t> ColourImageAsBmp() const;
    std::vector<uint8_t> MaskAsBmp() const;

private:
    const uint8_t* ColourRow(int y) const;
    const uint8_t* MaskRow(int y) const;

    std::vector<uint8_t> bytes_;
    int width_ = 0, height_ = 0, bitCount_ = 0;
    size_t headerSize_ = 0, colourOffset_ = 0, maskOffset_ = 0, colourStride_ = 0, maskStride_ = 0;
};

// A picture with transparency: 0xRRGGBB per pixel, row by row from the top.
struct TIconPicture {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;
    std::vector<bool> transparent;

    uint32_t Rgb(int x, int y) const { return rgb[Index(x, y)]; }
    bool Transparent(int x, int y) const { return transparent[Index(x, y)]; }
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * width + x; }
};

// The picture the file holds, as its own bytes say.
TIconPicture PictureOf(const TIcoTestFile& icon);

// Writes base.ico's companions into the folder for the ImageMagick check script:
// base.colour.bmp, base.mask.bmp and base.expect (the expected picture, one line per pixel,
// "x y rrggbb" or "x y transparent", with the allowed difference per channel).
void ExportForImageMagick(const std::string& folder, const std::string& base, const TIcoTestFile& icon,
                          const TIconPicture& expected, int tolerance);
