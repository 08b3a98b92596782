#include "PictureTestSupport.h"

#include <fstream>

#include "base/ByteReader.h"
#include "toolkit/Canvas_win.h"

std::string TempPath(const std::string& name) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

void WriteFileBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string FixturePath(const std::string& name) {
    std::string path = std::string(TERVANE_SOURCE_DIR) + "/tests/fixtures/picture/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return "Z:" + path;
}

namespace {

uint32_t RowBytes(int width, int bits) { return static_cast<uint32_t>(((width * bits + 31) / 32) * 4); }

std::vector<uint8_t> IconImage(const TestIconEntry& e) {
    std::vector<uint8_t> out;
    int tableSize = e.bitCount <= 8 ? (1 << e.bitCount) : 0;
    PutU32LE(out, 40);
    PutU32LE(out, static_cast<uint32_t>(e.width));
    PutU32LE(out, static_cast<uint32_t>(e.height * 2));
    PutU16LE(out, 1);
    PutU16LE(out, static_cast<uint16_t>(e.bitCount));
    for (int i = 0; i < 6; ++i) PutU32LE(out, 0);
    // Entry 1 of the table holds the colour; every pixel uses it.
    for (int i = 0; i < tableSize; ++i) {
        COLORREF c = i == 1 ? e.color : RGB(0, 0, 0);
        PutU8(out, GetBValue(c));
        PutU8(out, GetGValue(c));
        PutU8(out, GetRValue(c));
        PutU8(out, 0);
    }
    for (int y = 0; y < e.height; ++y) {
        std::vector<uint8_t> row(RowBytes(e.width, e.bitCount), 0);
        for (int x = 0; x < e.width; ++x) {
            if (e.bitCount == 24) {
                row[x * 3] = GetBValue(e.color);
                row[x * 3 + 1] = GetGValue(e.color);
                row[x * 3 + 2] = GetRValue(e.color);
            } else if (e.bitCount == 8) {
                row[x] = 1;
            } else {
                row[x / 2] |= static_cast<uint8_t>(x % 2 ? 0x01 : 0x10);
            }
        }
        PutBytes(out, row.data(), row.size());
    }
    for (int y = 0; y < e.height; ++y) {
        std::vector<uint8_t> mask(RowBytes(e.width, 1), 0);  // all opaque
        PutBytes(out, mask.data(), mask.size());
    }
    return out;
}

}  // namespace

std::vector<uint8_t> BuildIconFile(const std::vector<TestIconEntry>& entries) {
    std::vector<std::vector<uint8_t>> images;
    for (const TestIconEntry& e : entries) images.push_back(IconImage(e));
    std::vector<uint8_t> out;
    PutU16LE(out, 0);
    PutU16LE(out, 1);
    PutU16LE(out, static_cast<uint16_t>(entries.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        PutU8(out, static_cast<uint8_t>(entries[i].width));
        PutU8(out, static_cast<uint8_t>(entries[i].height));
        PutU8(out, entries[i].colorByte);
        PutU8(out, 0);
        PutU16LE(out, 1);
        PutU16LE(out, static_cast<uint16_t>(entries[i].bitCount));
        PutU32LE(out, static_cast<uint32_t>(images[i].size()));
        PutU32LE(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& image : images) PutBytes(out, image.data(), image.size());
    return out;
}

COLORREF PixelAt(TBitmap& bitmap, int x, int y) { return bitmap.Canvas().Pixel(x, y); }
