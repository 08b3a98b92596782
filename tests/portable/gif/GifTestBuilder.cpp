#include "GifTestBuilder.h"

#include <algorithm>

#include "base/Exceptions.h"

namespace giftest {

std::vector<uint8_t> PackCodes(const std::vector<int>& codes, int minCodeSize) {
    const int clear = 1 << minCodeSize, end = clear + 1;
    int width = minCodeSize + 1, limit = 1 << width, next = clear + 2;
    bool fresh = true;
    std::vector<uint8_t> out;
    uint32_t acc = 0;
    int bits = 0;
    for (int code : codes) {
        acc |= static_cast<uint32_t>(code) << bits;
        bits += width;
        while (bits >= 8) {
            out.push_back(static_cast<uint8_t>(acc));
            acc >>= 8;
            bits -= 8;
        }
        if (code == clear) {
            width = minCodeSize + 1, limit = 1 << width, next = clear + 2, fresh = true;
        } else if (code != end) {
            if (!fresh && next < 4096) {
                ++next;
                if (next >= limit && limit <= 4095) limit <<= 1, ++width;
            }
            fresh = false;
        }
    }
    if (bits > 0) out.push_back(static_cast<uint8_t>(acc));
    return out;
}

std::vector<int> LiteralCodes(const std::vector<uint8_t>& pixels, int minCodeSize, bool withEnd) {
    const int clear = 1 << minCodeSize;
    std::vector<int> codes{clear};
    int next = clear + 2;
    bool fresh = true;
    for (uint8_t p : pixels) {
        if (next >= 4000) codes.push_back(clear), next = clear + 2, fresh = true;
        codes.push_back(p);
        if (!fresh) ++next;
        fresh = false;
    }
    if (withEnd) codes.push_back(clear + 1);
    return codes;
}

Builder& Builder::Raw(std::vector<uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

namespace {
uint8_t TableBits(int colors) {
    uint8_t bits = 0;
    while ((2 << bits) < colors) ++bits;
    return bits;
}
void PutColorTable(std::vector<uint8_t>& out, int colors) {
    for (int i = 0; i < colors; ++i) {
        out.push_back(static_cast<uint8_t>(i * 40));
        out.push_back(static_cast<uint8_t>(255 - i));
        out.push_back(static_cast<uint8_t>(i * 7));
    }
}
void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
}  // namespace

Builder& Builder::Header(uint16_t width, uint16_t height, int globalColors, const char* signature,
                         uint8_t background) {
    bytes_.insert(bytes_.end(), signature, signature + 6);
    PutU16(bytes_, width);
    PutU16(bytes_, height);
    bytes_.push_back(globalColors ? static_cast<uint8_t>(0x80 | 0x70 | TableBits(globalColors)) : 0);
    bytes_.push_back(background);
    bytes_.push_back(0);
    if (globalColors) PutColorTable(bytes_, 2 << TableBits(globalColors));
    return *this;
}

Builder& Builder::Control(uint8_t packed, uint16_t delay, uint8_t transparentIndex) {
    Raw({0x21, 0xF9, 4, packed});
    PutU16(bytes_, delay);
    return Raw({transparentIndex, 0});
}

Builder& Builder::Comment(const std::vector<std::string>& lines) {
    Raw({0x21, 0xFE});
    for (const auto& line : lines) {
        bytes_.push_back(static_cast<uint8_t>(line.size()));
        bytes_.insert(bytes_.end(), line.begin(), line.end());
    }
    return Raw({0});
}

Builder& Builder::Application(const std::string& identifier, const std::vector<std::vector<uint8_t>>& blocks,
                              uint8_t blockSize) {
    Raw({0x21, 0xFF, blockSize});
    std::string id = identifier;
    id.resize(blockSize, 'x');
    bytes_.insert(bytes_.end(), id.begin(), id.end());
    for (const auto& block : blocks) {
        bytes_.push_back(static_cast<uint8_t>(block.size()));
        bytes_.insert(bytes_.end(), block.begin(), block.end());
    }
    return Raw({0});
}

Builder& Builder::Loop(uint16_t count) {
    return Application("NETSCAPE2.0", {{1, static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)}});
}

Builder& Builder::Descriptor(uint16_t left, uint16_t top, uint16_t width, uint16_t height, uint8_t packed,
                             int localColors) {
    bytes_.push_back(0x2C);
    PutU16(bytes_, left);
    PutU16(bytes_, top);
    PutU16(bytes_, width);
    PutU16(bytes_, height);
    if (localColors) packed = static_cast<uint8_t>(packed | 0x80 | TableBits(localColors));
    bytes_.push_back(packed);
    if (localColors) PutColorTable(bytes_, 2 << TableBits(localColors));
    return *this;
}

Builder& Builder::Data(int minCodeSize, const std::vector<uint8_t>& data, size_t blockLimit, bool terminator) {
    bytes_.push_back(static_cast<uint8_t>(minCodeSize));
    for (size_t at = 0; at < data.size(); at += blockLimit) {
        size_t n = std::min(blockLimit, data.size() - at);
        bytes_.push_back(static_cast<uint8_t>(n));
        bytes_.insert(bytes_.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                      data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    if (terminator) bytes_.push_back(0);
    return *this;
}

Builder& Builder::Pixels(int minCodeSize, const std::vector<uint8_t>& pixels, size_t blockLimit) {
    return Data(minCodeSize, PackCodes(LiteralCodes(pixels, minCodeSize), minCodeSize), blockLimit);
}

Builder& Builder::Trailer() { return Raw({0x3B}); }

bool Loaded::Warned(const std::string& text) const {
    return std::find(warnings.begin(), warnings.end(), text) != warnings.end();
}

Loaded Load(const std::vector<uint8_t>& bytes, uint64_t budget) {
    Loaded out;
    out.image->OnWarning = [&out](const std::string& text) { out.warnings.push_back(text); };
    out.image->OnProgress = [&out](TGIFProgressStage, int percent, const std::string&) {
        out.progress.push_back(percent);
    };
    TMemoryStream stream(bytes);
    try {
        TGifReader(*out.image, budget).Load(stream);
    } catch (const Exception& e) {
        out.error = e.Message();
    }
    out.image->OnWarning = nullptr;
    out.image->OnProgress = nullptr;
    out.endPosition = stream.Position();
    return out;
}

std::vector<uint8_t> NoisePixels(size_t count, int colors, uint32_t seed) {
    std::vector<uint8_t> pixels(count);
    uint32_t state = seed * 2654435761u + 1;
    for (auto& p : pixels) {
        state = state * 1664525u + 1013904223u;
        // Runs of equal colours, so the LZW table gets long strings as in real pictures.
        p = static_cast<uint8_t>(((state >> 24) % 7 == 0 ? (state >> 8) : (&p == pixels.data() ? 0 : *(&p - 1))) %
                                 static_cast<uint32_t>(colors));
    }
    return pixels;
}

}  // namespace giftest
