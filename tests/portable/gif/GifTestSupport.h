#pragma once
// Building small pictures and reading the codes back out of written GIF data.
#include <cstdint>
#include <random>
#include <vector>

#include "gif/codec/GifImageModel.h"

// A picture of one frame with the given map and indices (rows top to bottom).
inline TGIFSubImage& AddFrame(TGIFImageModel& image, int width, int height, const std::vector<TGIFColor>& colors,
                              const std::vector<uint8_t>& pixels, bool interlaced = false) {
    auto frame = std::make_unique<TGIFSubImage>(&image);
    frame->SetBounds(0, 0, width, height);
    frame->ColorMap.Assign(colors.data(), static_cast<int>(colors.size()));
    frame->Data = pixels;
    frame->SetInterlaced(interlaced);
    return image.Images.Add(std::move(frame));
}

inline std::vector<uint8_t> SaveToBytes(const TGIFImageModel& image) {
    TMemoryStream stream;
    image.SaveToStream(stream);
    return stream.Bytes();
}

inline std::vector<TGIFColor> GreyRamp(int count) {
    std::vector<TGIFColor> colors;
    for (int i = 0; i < count; ++i) {
        uint8_t v = static_cast<uint8_t>(count == 1 ? 0 : i * 255 / (count - 1));
        colors.push_back({v, static_cast<uint8_t>(255 - v), static_cast<uint8_t>(i)});
    }
    return colors;
}

inline std::vector<uint8_t> RandomPixels(size_t count, int colors, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> pixels(count);
    for (auto& p : pixels) p = static_cast<uint8_t>(random() % static_cast<uint32_t>(colors));
    return pixels;
}

// Runs of random lengths (1 to maxRun) of random colours.
inline std::vector<uint8_t> RunPixels(size_t count, int colors, int maxRun, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> pixels;
    while (pixels.size() < count) {
        uint8_t c = static_cast<uint8_t>(random() % static_cast<uint32_t>(colors));
        size_t run = 1 + random() % static_cast<uint32_t>(maxRun);
        for (size_t i = 0; i < run && pixels.size() < count; ++i) pixels.push_back(c);
    }
    return pixels;
}

// The codes of one frame's data, with the width each was read at, following the code-size
// rules of a standard decoder. Starts at the minimum code size byte.
struct TCodeTrace {
    std::vector<int> Codes;
    std::vector<int> Widths;
    std::vector<int> SubBlockSizes;
};

inline TCodeTrace TraceCodes(const std::vector<uint8_t>& bytes, size_t at) {
    TCodeTrace trace;
    const int minimum = bytes.at(at++);
    std::vector<uint8_t> data;
    for (;;) {
        int size = bytes.at(at++);
        trace.SubBlockSizes.push_back(size);
        if (size == 0) break;
        data.insert(data.end(), bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + size));
        at += static_cast<size_t>(size);
    }
    const int clear = 1 << minimum, end = clear + 1;
    int width = minimum + 1, nextFree = clear + 2;
    bool first = true;
    size_t bit = 0;
    while (bit + static_cast<size_t>(width) <= data.size() * 8) {
        int code = 0;
        for (int i = 0; i < width; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
        trace.Codes.push_back(code);
        trace.Widths.push_back(width);
        if (code == end) break;
        if (code == clear) {
            width = minimum + 1;
            nextFree = clear + 2;
            first = true;
            continue;
        }
        if (!first && nextFree <= 4095) {
            ++nextFree;
            if (nextFree >= (1 << width) && width < 12) ++width;
        }
        first = false;
    }
    return trace;
}
