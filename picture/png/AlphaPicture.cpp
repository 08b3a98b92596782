#include "picture/png/AlphaPicture.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "base/Exceptions.h"
#include "picture/ico/IconDirectory.h"
#include "picture/png/PngReader.h"
#include "picture/png/PngWriter.h"

TAlphaPicture::TAlphaPicture(int32_t width, int32_t height)
    : Width(width), Height(height), Pixels(size_t(width) * size_t(height) * 4, 0) {}

bool TAlphaPicture::HasTransparency() const {
    for (size_t i = 3; i < Pixels.size(); i += 4)
        if (Pixels[i] != 255) return true;
    return false;
}

namespace {

class TPictureRows : public TPngDecodeTarget {
public:
    TPngRows PrepareRows(const TPngHeader& header) override {
        header_ = header;
        bytes_.resize(size_t(header.Width) * size_t(header.Height) * header.BytesPerPixel());
        return {bytes_.data(), static_cast<ptrdiff_t>(header.Width) * header.BytesPerPixel()};
    }
    TAlphaPicture Take() {
        if (header_.HasAlpha) {
            TAlphaPicture picture;
            picture.Width = header_.Width, picture.Height = header_.Height;
            picture.Pixels = std::move(bytes_);
            return picture;
        }
        TAlphaPicture picture(header_.Width, header_.Height);
        for (size_t i = 0, j = 0; j < picture.Pixels.size(); i += 3, j += 4) {
            std::memcpy(&picture.Pixels[j], &bytes_[i], 3);
            picture.Pixels[j + 3] = 255;
        }
        return picture;
    }

private:
    TPngHeader header_;
    std::vector<uint8_t> bytes_;
};

// The picture's colours (with alpha) as a palette and each pixel's index, or false when it
// has more than 256.
bool CollectPalette(const TAlphaPicture& picture, std::vector<TPngPaletteEntry>& palette,
                    std::vector<uint8_t>& indices) {
    std::unordered_map<uint32_t, uint8_t> seen;
    indices.resize(size_t(picture.Width) * size_t(picture.Height));
    for (size_t i = 0; i < indices.size(); ++i) {
        const uint8_t* p = &picture.Pixels[i * 4];
        const uint32_t key = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        auto found = seen.find(key);
        if (found == seen.end()) {
            if (seen.size() == 256) return false;
            found = seen.emplace(key, static_cast<uint8_t>(seen.size())).first;
            palette.push_back({p[2], p[1], p[0], p[3]});
        }
        indices[i] = found->second;
    }
    return true;
}

void WriteTrueColor(TStream& out, const TAlphaPicture& picture) {
    if (picture.HasTransparency()) {
        TPngWriter writer(out, picture.Width, picture.Height, TPngLayout::Rgba);
        for (int32_t y = 0; y < picture.Height; ++y) writer.AddRow(picture.Row(y));
        writer.Finish();
        return;
    }
    TPngWriter writer(out, picture.Width, picture.Height, TPngLayout::Rgb);
    std::vector<uint8_t> row(size_t(picture.Width) * 3);
    for (int32_t y = 0; y < picture.Height; ++y) {
        const uint8_t* p = picture.Row(y);
        for (int32_t x = 0; x < picture.Width; ++x) std::memcpy(&row[size_t(x) * 3], p + size_t(x) * 4, 3);
        writer.AddRow(row.data());
    }
    writer.Finish();
}

// The colour of an icon pixel from its colour table, its 16-bit channels or its bytes.
void IconPixel(const TIconImage& image, const uint8_t* row, uint32_t x, uint8_t* out) {
    const uint16_t bits = image.format.bitCount;
    if (bits <= 8) {
        const uint32_t perByte = 8u / bits, shift = 8u - bits * (x % perByte + 1);
        const uint32_t index = (row[x / perByte] >> shift) & ((1u << bits) - 1);
        if (index < image.format.colors.size()) {
            const TRgbQuad& c = image.format.colors[index];
            out[0] = c.blue, out[1] = c.green, out[2] = c.red;
        }
    } else if (bits == 16) {
        const uint32_t v = row[x * 2] | row[x * 2 + 1] << 8;
        const bool is565 = image.format.compression == kBiBitFields && image.format.greenMask == kMask565Green;
        out[0] = static_cast<uint8_t>((v & 31) * 255 / 31);
        out[1] = static_cast<uint8_t>(is565 ? ((v >> 5) & 63) * 255 / 63 : ((v >> 5) & 31) * 255 / 31);
        out[2] = static_cast<uint8_t>(((v >> (is565 ? 11 : 10)) & 31) * 255 / 31);
    } else {
        std::memcpy(out, row + size_t(x) * (bits / 8), 3);
        if (bits == 32) out[3] = row[size_t(x) * 4 + 3];
    }
}

}  // namespace

TAlphaPicture DecodePngPicture(const uint8_t* data, size_t size) {
    TPictureRows rows;
    DecodePng(data, size, rows);
    return rows.Take();
}

void WritePngPicture(TStream& out, const TAlphaPicture& picture) {
    std::vector<TPngPaletteEntry> palette;
    std::vector<uint8_t> indices;
    if (!CollectPalette(picture, palette, indices)) return WriteTrueColor(out, picture);
    TPngWriter writer(out, picture.Width, picture.Height, TPngLayout::Palette, palette);
    for (int32_t y = 0; y < picture.Height; ++y) writer.AddRow(&indices[size_t(y) * size_t(picture.Width)]);
    writer.Finish();
}

TAlphaPicture AlphaPictureFromIconImage(const TIconImage& image) {
    const auto w = static_cast<int32_t>(image.width), h = static_cast<int32_t>(image.height);
    TAlphaPicture picture(w, h);
    const uint32_t colorRow = *DibRowBytes(image.width, image.format.bitCount), maskRow = *DibRowBytes(image.width, 1);
    bool alphaChannel = false;
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* row = &image.colorBits[size_t(h - 1 - y) * colorRow];  // bottom row first
        for (int32_t x = 0; x < w; ++x) {
            IconPixel(image, row, uint32_t(x), picture.Pixel(x, y));
            alphaChannel |= picture.Pixel(x, y)[3] != 0;
        }
    }
    if (alphaChannel) return picture;
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* mask = &image.maskBits[size_t(h - 1 - y) * maskRow];
        for (int32_t x = 0; x < w; ++x) {
            const bool transparent = (mask[x / 8] >> (7 - x % 8)) & 1;
            uint8_t* p = picture.Pixel(x, y);
            if (transparent) std::fill(p, p + 4, 0);
            else p[3] = 255;
        }
    }
    return picture;
}

TAlphaPicture FitAlphaPicture(const TAlphaPicture& picture, int32_t width, int32_t height) {
    TAlphaPicture fitted(width, height);
    const bool stretch = picture.Width > width || picture.Height > height;
    const int32_t w = stretch ? width : picture.Width, h = stretch ? height : picture.Height;
    for (int32_t y = 0; y < h; ++y) {
        const int32_t sy = stretch ? int32_t(int64_t(y) * picture.Height / height) : y;
        for (int32_t x = 0; x < w; ++x) {
            const int32_t sx = stretch ? int32_t(int64_t(x) * picture.Width / width) : x;
            std::memcpy(fitted.Pixel(x, y), picture.Pixel(sx, sy), 4);
        }
    }
    return fitted;
}

TIconImage IconImageFromAlphaPicture(const TAlphaPicture& picture) {
    TIconImage image;
    image.format = DibFormatFor(pf24bit);
    image.width = static_cast<uint32_t>(picture.Width);
    image.height = static_cast<uint32_t>(picture.Height);
    const uint32_t colorRow = *DibRowBytes(image.width, 24), maskRow = *DibRowBytes(image.width, 1);
    image.colorBits.assign(size_t(colorRow) * image.height, 0);
    image.maskBits.assign(size_t(maskRow) * image.height, 0);
    for (int32_t y = 0; y < picture.Height; ++y) {
        uint8_t* color = &image.colorBits[size_t(picture.Height - 1 - y) * colorRow];  // bottom row first
        uint8_t* mask = &image.maskBits[size_t(picture.Height - 1 - y) * maskRow];
        for (int32_t x = 0; x < picture.Width; ++x) {
            const uint8_t* p = picture.Pixel(x, y);
            if (p[3] == 0) mask[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));  // black under the mask
            else std::memcpy(color + size_t(x) * 3, p, 3);
        }
    }
    return image;
}
