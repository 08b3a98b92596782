// Writes a frame described by the input with both coders, and checks that the code stream
// expands back to exactly the frame's pixels under the decoding rules every GIF reader
// follows (code widths, table growth, clears, a code equal to the next free one).
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/Exceptions.h"
#include "gif/codec/GifImageModel.h"

namespace {

// Decodes the code stream that starts at the minimum code size byte; more than `limit`
// pixels is a fault of its own.
std::vector<uint8_t> Expand(const std::vector<uint8_t>& file, size_t at, size_t limit) {
    const int minimum = file.at(at++);
    std::vector<uint8_t> data;
    for (int size; (size = file.at(at++)) != 0; at += static_cast<size_t>(size))
        data.insert(data.end(), file.begin() + static_cast<long>(at), file.begin() + static_cast<long>(at) + size);
    const int clear = 1 << minimum;
    std::vector<int> prefix(4096), suffix(4096), length(4096);
    for (int i = 0; i < clear; ++i) suffix[i] = i, length[i] = 1;
    std::vector<uint8_t> out;
    int width = minimum + 1, next = clear + 2, previous = -1;
    size_t bit = 0;
    auto string = [&](int code) {
        std::vector<uint8_t> s(static_cast<size_t>(length[code]));
        for (int c = code, i = length[code] - 1; i >= 0; --i, c = prefix[c]) s[static_cast<size_t>(i)] = static_cast<uint8_t>(suffix[c]);
        return s;
    };
    while (bit + static_cast<size_t>(width) <= data.size() * 8) {
        int code = 0;
        for (int i = 0; i < width; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
        if (code == clear) {
            width = minimum + 1, next = clear + 2, previous = -1;
            continue;
        }
        if (code == clear + 1) return out;
        if (code > next || (code == next && previous < 0) || (code >= clear && code < clear + 2)) std::abort();
        std::vector<uint8_t> s = code == next ? string(previous) : string(code);
        if (code == next) s.push_back(s[0]);
        if (previous >= 0 && next < 4096) {
            prefix[next] = previous, suffix[next] = s[0], length[next] = length[previous] + 1;
            if (++next >= (1 << width) && width < 12) ++width;
        }
        out.insert(out.end(), s.begin(), s.end());
        if (out.size() > limit) std::abort();
        previous = code;
    }
    std::abort();  // no end code
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const int width = 1 + data[0] % 96, height = 1 + data[1] % 64;
    const int colors = 1 + data[2];
    const bool interlaced = data[3] & 1;
    data += 4;
    size -= 4;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height);
    // Pixels repeat the input; with bit 1 of the flags each input byte becomes a run of the
    // length its high bits give, so long runs occur too.
    const bool runs = data[-1] & 2;
    for (size_t i = 0, j = 0; i < pixels.size() && size > 0; ++j) {
        const uint8_t b = data[j % size];
        const size_t run = runs ? 1 + (b >> 2) : 1;
        for (size_t k = 0; k < run && i < pixels.size(); ++k) pixels[i++] = static_cast<uint8_t>(b % colors);
    }
    for (int coding : {GifCoding::Lzw, GifCoding::RunLength}) {
        TGIFImageModel image;
        image.CodingMethod = coding;
        auto frame = std::make_unique<TGIFSubImage>(&image);
        frame->SetBounds(0, 0, width, height);
        std::vector<TGIFColor> map(static_cast<size_t>(colors));
        frame->ColorMap.Assign(map.data(), colors);
        frame->Data = pixels;
        frame->SetInterlaced(interlaced);
        image.Images.Add(std::move(frame));
        TMemoryStream stream;
        image.SaveToStream(stream);
        const std::vector<uint8_t>& file = stream.Bytes();
        const size_t tableBytes = size_t{3} << TGIFColorMap::DepthForCount(colors);
        std::vector<uint8_t> decoded = Expand(file, 13 + 10 + tableBytes, pixels.size());
        if (decoded.size() != pixels.size()) std::abort();
        std::vector<uint8_t> expected;
        static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass)
            for (int y = interlaced ? start[pass] : 0; y < height; y += interlaced ? step[pass] : 1)
                expected.insert(expected.end(), pixels.begin() + static_cast<long>(y) * width,
                                pixels.begin() + static_cast<long>(y + 1) * width);
        if (decoded != expected) std::abort();
    }
    return 0;
}
