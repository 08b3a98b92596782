#include "picture/bmp/BmpRle.h"

#include "picture/bmp/DibFormat.h"

namespace {

class TRleTarget {
public:
    TRleTarget(uint16_t bitCount, uint32_t width, uint32_t height)
        : bitCount_(bitCount), width_(width), height_(height), rowBytes_(*DibRowBytes(width, bitCount)),
          rows_(static_cast<size_t>(rowBytes_) * height) {}

    bool Done() const { return y_ >= height_; }
    void Put(uint8_t index) {
        if (x_ < width_ && y_ < height_) {
            uint8_t* row = rows_.data() + static_cast<size_t>(y_) * rowBytes_;
            if (bitCount_ == 8) {
                row[x_] = index;
            } else if (x_ % 2 == 0) {
                row[x_ / 2] = static_cast<uint8_t>((row[x_ / 2] & 0x0F) | (index << 4));
            } else {
                row[x_ / 2] = static_cast<uint8_t>((row[x_ / 2] & 0xF0) | (index & 0x0F));
            }
        }
        ++x_;
    }
    void EndOfLine() {
        x_ = 0;
        ++y_;
    }
    void Jump(uint32_t dx, uint32_t dy) {
        x_ += dx;
        y_ += dy;
    }
    std::vector<uint8_t> Take() { return std::move(rows_); }

private:
    uint16_t bitCount_;
    uint32_t width_, height_, rowBytes_;
    uint32_t x_ = 0, y_ = 0;
    std::vector<uint8_t> rows_;
};

// The index of pixel i of a run or literal: bytes for 8 bits, alternating nibbles for 4.
uint8_t Pixel(uint8_t value, uint32_t i, uint16_t bitCount) {
    if (bitCount == 8) return value;
    return (i % 2 == 0) ? static_cast<uint8_t>(value >> 4) : static_cast<uint8_t>(value & 0x0F);
}

}  // namespace

std::vector<uint8_t> DecodeRle(const uint8_t* data, size_t size, uint16_t bitCount, uint32_t width,
                               uint32_t height) {
    TRleTarget target(bitCount, width, height);
    size_t pos = 0;
    while (size - pos >= 2 && !target.Done()) {
        uint8_t count = data[pos], value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            // A run can never be longer than a row: what passes the edge is clipped.
            for (uint32_t i = 0; i < count; ++i) target.Put(Pixel(value, i, bitCount));
            continue;
        }
        if (value == 0) {
            target.EndOfLine();
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (size - pos < 2) break;
            target.Jump(data[pos], data[pos + 1]);
            pos += 2;
        } else {
            // Literal pixels, padded to a 16-bit boundary.
            size_t bytes = bitCount == 8 ? value : (value + 1u) / 2;
            size_t padded = bytes + (bytes & 1);
            size_t available = std::min(bytes, size - pos);
            for (uint32_t i = 0; i < value; ++i) {
                size_t at = bitCount == 8 ? i : i / 2;
                if (at >= available) break;
                target.Put(Pixel(data[pos + at], i, bitCount));
            }
            pos += std::min(padded, size - pos);
        }
    }
    return target.Take();
}
