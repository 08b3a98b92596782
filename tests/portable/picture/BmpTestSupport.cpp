#include "BmpTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/ByteReader.h"
#include "picture/bmp/BmpBitFields.h"

namespace {

uint32_t PixelValue(const uint8_t* row, uint32_t x, uint16_t bits) {
    switch (bits) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
    case 8: return row[x];
    case 16: return static_cast<uint32_t>(row[x * 2] | (row[x * 2 + 1] << 8));
    case 24: return static_cast<uint32_t>(row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16));
    default:
        return static_cast<uint32_t>(row[x * 4]) | (static_cast<uint32_t>(row[x * 4 + 1]) << 8) |
               (static_cast<uint32_t>(row[x * 4 + 2]) << 16) | (static_cast<uint32_t>(row[x * 4 + 3]) << 24);
    }
}

}  // namespace

std::vector<uint8_t> DibToRgb(const TDibFormat& format, uint32_t width, uint32_t height,
                              const std::vector<uint8_t>& bits) {
    std::vector<uint8_t> rgb;
    uint32_t rowBytes = *DibRowBytes(width, format.bitCount);
    uint32_t red = format.redMask, green = format.greenMask, blue = format.blueMask;
    if (format.compression == kBiRgb && format.bitCount == 16) {
        red = kMask555Red, green = kMask555Green, blue = kMask555Blue;
    } else if (format.compression == kBiRgb && format.bitCount >= 24) {
        red = kMask888Red, green = kMask888Green, blue = kMask888Blue;
    }
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = bits.data() + static_cast<size_t>(height - 1 - y) * rowBytes;
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t v = PixelValue(row, x, format.bitCount);
            if (format.bitCount <= 8) {
                const TRgbQuad& c = format.colors.at(v);
                rgb.insert(rgb.end(), {c.red, c.green, c.blue});
            } else {
                rgb.insert(rgb.end(), {ExtractChannel(v, red), ExtractChannel(v, green), ExtractChannel(v, blue)});
            }
        }
    }
    return rgb;
}

std::vector<uint8_t> HandMadeBmp(uint32_t width, int32_t height, uint16_t bitCount, uint32_t compression,
                                 const std::vector<uint32_t>& masksOrColors, const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> out;
    uint32_t offset = 14 + 40 + static_cast<uint32_t>(masksOrColors.size() * 4);
    PutU16LE(out, 0x4D42);
    PutU32LE(out, offset + static_cast<uint32_t>(pixels.size()));
    PutU32LE(out, 0);
    PutU32LE(out, offset);
    PutU32LE(out, 40);
    PutU32LE(out, width);
    PutU32LE(out, static_cast<uint32_t>(height));
    PutU16LE(out, 1);
    PutU16LE(out, bitCount);
    PutU32LE(out, compression);
    PutU32LE(out, static_cast<uint32_t>(pixels.size()));
    PutU32LE(out, 2835);
    PutU32LE(out, 2835);
    PutU32LE(out, compression == 3 ? 0 : static_cast<uint32_t>(masksOrColors.size()));
    PutU32LE(out, 0);
    for (uint32_t v : masksOrColors) PutU32LE(out, v);
    PutBytes(out, pixels.data(), pixels.size());
    return out;
}

TScratchFolder::TScratchFolder() {
    char pattern[] = "/tmp/tervane-bmp-XXXXXX";
    folder_ = mkdtemp(pattern);
}

TScratchFolder::~TScratchFolder() { std::filesystem::remove_all(folder_); }

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool Convert(const std::string& arguments) {
    std::string command = "/usr/bin/convert " + arguments + " 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

std::vector<uint8_t> ImageMagickRgb(const TScratchFolder& folder, const std::string& file) {
    std::string out = folder.Path("reference.rgb");
    std::filesystem::remove(out);
    // ImageMagick complains about some files it still reads (a run-length picture without
    // padding at its end); what it wrote is what counts.
    Convert(folder.Path(file) + " -depth 8 rgb:" + out);
    return ReadFileBytes(out);
}
