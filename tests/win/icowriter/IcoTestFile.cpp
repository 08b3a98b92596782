#include "IcoTestFile.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    if (at + 4 > b.size()) throw std::runtime_error("read past the end");
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    if (at + 2 > b.size()) throw std::runtime_error("read past the end");
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
void Put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 32; i += 8) b.push_back(static_cast<uint8_t>(v >> i));
}
size_t Stride(int width, int bits) { return ((static_cast<size_t>(width) * bits + 31) / 32) * 4; }

uint32_t Widen5(uint32_t v) { return (v << 3) | (v >> 2); }

// A BMP file around bottom-up rows: file header, info header, table, rows.
std::vector<uint8_t> Bmp(int width, int height, int bits, const std::vector<uint8_t>& table, const uint8_t* rows,
                         size_t rowBytes) {
    std::vector<uint8_t> out = {'B', 'M'};
    uint32_t offset = 14 + 40 + static_cast<uint32_t>(table.size());
    Put32(out, offset + static_cast<uint32_t>(rowBytes));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint16_t>(bits));
    for (uint32_t v : {0u, static_cast<uint32_t>(rowBytes), 0u, 0u, 0u, 0u}) Put32(out, v);
    out.insert(out.end(), table.begin(), table.end());
    out.insert(out.end(), rows, rows + rowBytes);
    return out;
}

}  // namespace

void WriteFileBytes(const std::string& fileName, const std::vector<uint8_t>& bytes) {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + fileName);
}

TIcoTestFile::TIcoTestFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    if (U16(bytes_, 0) != 0 || U16(bytes_, 2) != 1 || U16(bytes_, 4) != 1) throw std::runtime_error("not an icon");
    size_t image = U32(bytes_, 18);
    if (U32(bytes_, image) != 40) throw std::runtime_error("no information header");
    width_ = static_cast<int>(U32(bytes_, image + 4));
    height_ = static_cast<int>(U32(bytes_, image + 8)) / 2;
    bitCount_ = U16(bytes_, image + 14);
    if (width_ <= 0 || height_ <= 0 || (bitCount_ != 8 && bitCount_ != 16)) throw std::runtime_error("odd image");
    headerSize_ = 40 + (bitCount_ == 8 ? 1024 : 0);
    colourStride_ = Stride(width_, bitCount_);
    maskStride_ = Stride(width_, 1);
    colourOffset_ = image + headerSize_;
    maskOffset_ = colourOffset_ + colourStride_ * height_;
    if (maskOffset_ + maskStride_ * height_ != bytes_.size()) throw std::runtime_error("size does not add up");
    if (image + U32(bytes_, 14) != bytes_.size()) throw std::runtime_error("data size does not match");
}

const uint8_t* TIcoTestFile::ColourRow(int y) const {
    return &bytes_[colourOffset_ + colourStride_ * static_cast<size_t>(height_ - 1 - y)];
}
const uint8_t* TIcoTestFile::MaskRow(int y) const {
    return &bytes_[maskOffset_ + maskStride_ * static_cast<size_t>(height_ - 1 - y)];
}

uint32_t TIcoTestFile::PixelWord(int x, int y) const {
    const uint8_t* row = ColourRow(y);
    if (bitCount_ == 8) return row[x];
    return static_cast<uint32_t>(row[2 * x] | (row[2 * x + 1] << 8));
}

uint32_t TIcoTestFile::TableEntry(int index) const {
    size_t at = U32(bytes_, 18) + 40 + 4 * static_cast<size_t>(index);
    return (bytes_[at + 2] << 16) | (bytes_[at + 1] << 8) | bytes_[at];
}

uint32_t TIcoTestFile::Rgb(int x, int y) const {
    uint32_t word = PixelWord(x, y);
    if (bitCount_ == 8) return TableEntry(static_cast<int>(word));
    return (Widen5((word >> 10) & 31) << 16) | (Widen5((word >> 5) & 31) << 8) | Widen5(word & 31);
}

bool TIcoTestFile::Transparent(int x, int y) const { return (MaskRow(y)[x / 8] >> (7 - x % 8)) & 1; }

std::vector<uint8_t> TIcoTestFile::ColourImageAsBmp() const {
    std::vector<uint8_t> table(&bytes_[U32(bytes_, 18) + 40], &bytes_[colourOffset_]);
    return Bmp(width_, height_, bitCount_, table, &bytes_[colourOffset_], colourStride_ * height_);
}

std::vector<uint8_t> TIcoTestFile::MaskAsBmp() const {
    std::vector<uint8_t> table = {0, 0, 0, 0, 255, 255, 255, 0};
    return Bmp(width_, height_, 1, table, &bytes_[maskOffset_], maskStride_ * height_);
}

TIconPicture PictureOf(const TIcoTestFile& icon) {
    TIconPicture picture;
    picture.width = icon.Width();
    picture.height = icon.Height();
    for (int y = 0; y < icon.Height(); ++y) {
        for (int x = 0; x < icon.Width(); ++x) {
            picture.rgb.push_back(icon.Rgb(x, y));
            picture.transparent.push_back(icon.Transparent(x, y));
        }
    }
    return picture;
}

void ExportForImageMagick(const std::string& folder, const std::string& base, const TIcoTestFile& icon,
                          const TIconPicture& expected, int tolerance) {
    std::string stem = folder + "/" + base;
    WriteFileBytes(stem + ".colour.bmp", icon.ColourImageAsBmp());
    WriteFileBytes(stem + ".mask.bmp", icon.MaskAsBmp());
    // ImageMagick's own ICO reader only gets the 8-bit icons right.
    std::string text = "size " + std::to_string(expected.width) + " " + std::to_string(expected.height) +
                       "\ntolerance " + std::to_string(tolerance) + "\nico " +
                       (icon.BitCount() == 8 ? "yes" : "no") + "\n";
    char line[64];
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (expected.Transparent(x, y))
                std::snprintf(line, sizeof line, "%d %d transparent\n", x, y);
            else
                std::snprintf(line, sizeof line, "%d %d %06x\n", x, y, static_cast<unsigned>(expected.Rgb(x, y)));
            text += line;
        }
    }
    WriteFileBytes(stem + ".expect", std::vector<uint8_t>(text.begin(), text.end()));
}
