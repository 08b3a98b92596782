#pragma once
// Helpers of the JPEG tests: rows in memory for the decoder, encoding a synthetic photo, the
// quantisation tables of a file, and Debian's djpeg and cjpeg run on files.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "picture/jpeg/JpegDecoder.h"
#include "picture/jpeg/JpegEncoder.h"
#include "support/FileBytes.h"
#include "support/SyntheticPhoto.h"

// Decoded rows held in memory, 4-byte aligned like a bitmap's, stored top-down or bottom-up.
class MemoryDecodeTarget : public TJpegDecodeTarget {
public:
    explicit MemoryDecodeTarget(bool bottomUp = false) : bottomUp_(bottomUp) {}

    TJpegRows PrepareRows(int32_t width, int32_t height, int bitsPerPixel) override {
        width_ = width;
        height_ = height;
        bitsPerPixel_ = bitsPerPixel;
        stride_ = (static_cast<ptrdiff_t>(width) * bitsPerPixel / 8 + 3) & ~ptrdiff_t(3);
        if (static_cast<double>(stride_) * height > 256.0 * 1024 * 1024) throw EOutOfResources("too large");
        bytes_.assign(static_cast<size_t>(stride_) * static_cast<size_t>(height), 0xCD);
        if (!bottomUp_) return {bytes_.data(), stride_};
        return {bytes_.data() + (height - 1) * stride_, -stride_};
    }
    void SetPalette(const std::vector<TJpegColor>& colors) override {
        palette_ = colors;
        ++paletteCalls_;
    }

    // Row y from the top, whatever the storage order.
    const uint8_t* Row(int32_t y) const { return bytes_.data() + (bottomUp_ ? height_ - 1 - y : y) * stride_; }
    // Rows from the top, packed without padding.
    std::vector<uint8_t> PackedRows() const {
        std::vector<uint8_t> packed;
        size_t rowBytes = static_cast<size_t>(width_) * bitsPerPixel_ / 8;
        for (int32_t y = 0; y < height_; ++y) packed.insert(packed.end(), Row(y), Row(y) + rowBytes);
        return packed;
    }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    const std::vector<TJpegColor>& Palette() const { return palette_; }
    int PaletteCalls() const { return paletteCalls_; }

private:
    bool bottomUp_;
    int32_t width_ = 0, height_ = 0;
    int bitsPerPixel_ = 0;
    ptrdiff_t stride_ = 0;
    std::vector<uint8_t> bytes_;
    std::vector<TJpegColor> palette_;
    int paletteCalls_ = 0;
};

inline TJpegSourceRows RowsOf(const SyntheticPhoto& photo) {
    return {photo.pixels.data(), photo.rowStep, photo.width, photo.height};
}

inline std::vector<uint8_t> EncodeToBytes(const TJpegSourceRows& rows, const TJpegSettings& settings) {
    TMemoryStream out;
    EncodeJpeg(rows, settings, out);
    return out.Bytes();
}

inline std::vector<uint8_t> EncodeToBytes(const SyntheticPhoto& photo, const TJpegSettings& settings = {}) {
    return EncodeToBytes(RowsOf(photo), settings);
}

inline TJpegSettings QualitySettings(int quality) {
    TJpegSettings s;
    s.QualityLevel = static_cast<uint8_t>(quality);
    return s;
}

inline MemoryDecodeTarget DecodeBytes(const std::vector<uint8_t>& bytes, const TJpegSettings& settings = {},
                                      bool bottomUp = false) {
    TMemoryStream in(bytes);
    MemoryDecodeTarget target(bottomUp);
    DecodeJpeg(in, settings, target);
    return target;
}

// The message of the EJPEG that decoding the bytes raises, or "" when it decodes.
inline std::string DecodeError(const std::vector<uint8_t>& bytes) {
    try {
        DecodeBytes(bytes);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

// The contents of an APP1 "Exif" segment: a TIFF header in either byte order pointing at a
// first directory `gap` bytes after it, holding the entries given (tag, type, count, value).
struct ExifEntry {
    uint16_t tag, type;
    uint32_t count, value;
};

inline std::vector<uint8_t> ExifSegment(bool bigEndian, const std::vector<ExifEntry>& entries, uint32_t gap = 0) {
    std::vector<uint8_t> out = {'E', 'x', 'i', 'f', 0, 0};
    auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            int shift = 8 * (bigEndian ? bytes - 1 - i : i);
            out.push_back(static_cast<uint8_t>(value >> shift));
        }
    };
    out.push_back(bigEndian ? 'M' : 'I');
    out.push_back(bigEndian ? 'M' : 'I');
    put(42, 2);
    put(8 + gap, 4);
    out.resize(out.size() + gap, 0xEE);
    put(static_cast<uint32_t>(entries.size()), 2);
    for (const ExifEntry& e : entries) {
        put(e.tag, 2);
        put(e.type, 2);
        put(e.count, 4);
        // A SHORT value sits in the first two of the four value bytes.
        const bool isShort = e.type == 3;
        put(e.value, isShort ? 2 : 4);
        if (isShort) put(0, 2);
    }
    put(0, 4);  // no next directory
    return out;
}

inline std::vector<uint8_t> OrientationSegment(int orientation, bool bigEndian = false) {
    return ExifSegment(bigEndian, {{0x010F, 2, 4, 0}, {0x0112, 3, 1, static_cast<uint32_t>(orientation)}});
}

// The JPEG file with an APP1 segment of these contents right after its start marker.
inline std::vector<uint8_t> WithApp1(std::vector<uint8_t> jpeg, const std::vector<uint8_t>& contents) {
    const size_t length = contents.size() + 2;
    std::vector<uint8_t> segment = {0xFF, 0xE1, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
    segment.insert(segment.end(), contents.begin(), contents.end());
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

// Every quantisation table of a JPEG file, entries in file order.
inline std::vector<std::vector<int>> QuantisationTables(const std::vector<uint8_t>& jpeg) {
    std::vector<std::vector<int>> tables;
    size_t pos = 2;
    while (pos + 4 <= jpeg.size() && jpeg[pos] == 0xFF) {
        uint8_t marker = jpeg[pos + 1];
        size_t length = static_cast<size_t>(jpeg[pos + 2] << 8 | jpeg[pos + 3]);
        if (marker == 0xDA || pos + 2 + length > jpeg.size()) break;
        for (size_t at = pos + 4; marker == 0xDB && at < pos + 2 + length;) {
            bool sixteenBit = (jpeg[at] >> 4) != 0;
            ++at;
            std::vector<int> table;
            for (int i = 0; i < 64; ++i, at += sixteenBit ? 2 : 1)
                table.push_back(sixteenBit ? (jpeg[at] << 8 | jpeg[at + 1]) : jpeg[at]);
            tables.push_back(table);
        }
        pos += 2 + length;
    }
    return tables;
}

// A folder of its own for one test, removed with it.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / ("tervane-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& file, const std::vector<uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Runs a Debian tool with a time limit; true when it exited with 0.
inline bool RunTool(const std::string& command) {
    return std::system(("timeout 60 " + command + " 2>/dev/null").c_str()) == 0;
}

// A binary PPM (P6) or PGM (P5) file: size, components and samples.
struct Netpbm {
    int width = 0, height = 0, components = 0;
    std::vector<uint8_t> samples;
};

inline Netpbm ReadNetpbm(const std::string& file) {
    std::vector<uint8_t> bytes = ReadFileBytes(file);
    Netpbm image;
    std::string text(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 64));
    std::istringstream header(text);
    std::string magic;
    int maxValue = 0;
    header >> magic >> image.width >> image.height >> maxValue;
    if ((magic != "P6" && magic != "P5") || maxValue != 255) return {};
    image.components = magic == "P6" ? 3 : 1;
    size_t start = static_cast<size_t>(header.tellg()) + 1;
    image.samples.assign(bytes.begin() + static_cast<ptrdiff_t>(start), bytes.end());
    return image;
}

// RGB samples turned into blue-green-red rows, as the program's bitmaps hold them.
inline std::vector<uint8_t> RgbToBgr(std::vector<uint8_t> samples) {
    for (size_t i = 0; i + 2 < samples.size(); i += 3) std::swap(samples[i], samples[i + 2]);
    return samples;
}

// The largest difference between two equally long sample runs (255 when the lengths differ).
inline int LargestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size()) return 255;
    int worst = 0;
    for (size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(int(a[i]) - int(b[i])));
    return worst;
}
