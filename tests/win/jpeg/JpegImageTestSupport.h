#pragma once
// Helpers of the JPEG picture tests: files, fixtures, bitmaps from test pictures, and pixels.
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "picture/bmp/Bitmap_win.h"
#include "support/FileBytes.h"
#include "support/SyntheticPhoto.h"

inline std::string JpegTempPath(const std::string& name) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "tervane-jpeg-" + name;
}

inline std::string JpegFixturePath(const std::string& name) {
    std::string path = std::string(TERVANE_SOURCE_DIR) + "/tests/fixtures/jpeg/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return "Z:" + path;
}

inline void WriteBytesTo(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A 24-bit bitmap holding the test picture.
inline void FillBitmap(TBitmap& bitmap, const SyntheticPhoto& photo) {
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(photo.width, photo.height);
    for (int32_t y = 0; y < photo.height; ++y)
        std::copy(photo.Row(y), photo.Row(y) + photo.width * 3, static_cast<uint8_t*>(bitmap.ScanLine(y)));
}

// The bitmap's pixels from the top, 3 bytes each in blue, green, red order, whatever its
// format (an 8-bit bitmap's indices are looked up in its colour table).
inline std::vector<uint8_t> BgrPixels(TBitmap& bitmap) {
    std::vector<uint8_t> out;
    const auto& table = bitmap.DibFormat().colors;
    int bits = bitmap.BitsPerPixel();
    for (int y = 0; y < bitmap.Height(); ++y) {
        const auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (bits == 8) {
                const TRgbQuad& c = table.at(row[x]);
                out.insert(out.end(), {c.blue, c.green, c.red});
            } else {
                out.insert(out.end(), row + x * (bits / 8), row + x * (bits / 8) + 3);
            }
        }
    }
    return out;
}

// djpeg's output (P6 or P5) as blue-green-red samples, three per pixel.
inline std::vector<uint8_t> NetpbmAsBgr(const std::string& file, int& width, int& height) {
    std::vector<uint8_t> bytes = ReadFileBytes(file);
    std::istringstream header(std::string(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 32)));
    std::string magic;
    int maxValue = 0;
    header >> magic >> width >> height >> maxValue;
    size_t at = static_cast<size_t>(header.tellg()) + 1;
    std::vector<uint8_t> out;
    for (; at < bytes.size(); at += magic == "P6" ? 3 : 1) {
        if (magic == "P6") {
            out.insert(out.end(), {bytes[at + 2], bytes[at + 1], bytes[at]});
        } else {
            out.insert(out.end(), {bytes[at], bytes[at], bytes[at]});
        }
    }
    return out;
}
