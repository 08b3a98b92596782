#pragma once
// Builds GIF files byte by byte for the reader's tests, with full control over every block
// and every LZW code, so that damaged and unusual files can be written on purpose.
#include <cstdint>
#include <string>
#include <vector>

#include <memory>

#include "base/Streams.h"
#include "gif/codec/GifImageModel.h"
#include "gif/codec/GifReader.h"

namespace giftest {

// Packs codes least significant bit first, widening them exactly as a decoder does.
std::vector<uint8_t> PackCodes(const std::vector<int>& codes, int minCodeSize);
// Codes that spell the pixels as plain colour codes (clear first, end last), clearing again
// before the table fills.
std::vector<int> LiteralCodes(const std::vector<uint8_t>& pixels, int minCodeSize, bool withEnd = true);

class Builder {
public:
    Builder& Raw(std::vector<uint8_t> bytes);
    Builder& Header(uint16_t width, uint16_t height, int globalColors = 0, const char* signature = "GIF89a",
                    uint8_t background = 0);
    Builder& Control(uint8_t packed, uint16_t delay = 0, uint8_t transparentIndex = 0);
    Builder& Comment(const std::vector<std::string>& lines);
    Builder& Application(const std::string& identifier, const std::vector<std::vector<uint8_t>>& blocks,
                         uint8_t blockSize = 11);
    Builder& Loop(uint16_t count);
    Builder& Descriptor(uint16_t left, uint16_t top, uint16_t width, uint16_t height, uint8_t packed = 0,
                        int localColors = 0);
    // Minimum code size, the data in sub-blocks of at most blockLimit bytes, terminator.
    Builder& Data(int minCodeSize, const std::vector<uint8_t>& data, size_t blockLimit = 255, bool terminator = true);
    Builder& Pixels(int minCodeSize, const std::vector<uint8_t>& pixels, size_t blockLimit = 255);
    Builder& Trailer();
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

struct Loaded {
    std::unique_ptr<TGIFImageModel> image = std::make_unique<TGIFImageModel>();
    std::vector<std::string> warnings;
    std::vector<int> progress;
    std::string error;  // empty when loading succeeded
    int64_t endPosition = 0;

    int Frames() const { return image->Images.Count(); }
    const TGIFSubImage& Frame(int index) const { return image->Images[index]; }
    bool Warned(const std::string& text) const;
};

// Loads through a memory stream, catching the codec's error into Loaded::error.
Loaded Load(const std::vector<uint8_t>& bytes, uint64_t budget = TGifReader::DefaultMemoryBudget);
// The extension of a frame as the class it should be, or nullptr.
template <typename Extension>
const Extension* ExtensionAt(const TGIFSubImage& frame, int index) {
    return index < frame.Extensions.Count() ? dynamic_cast<const Extension*>(&frame.Extensions[index]) : nullptr;
}

// A deterministic pseudo-random picture of the given colour count.
std::vector<uint8_t> NoisePixels(size_t count, int colors, uint32_t seed);

}  // namespace giftest
