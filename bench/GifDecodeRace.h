#pragma once
// The GIF decoding race shared by the native benchmark and the 32-bit Windows one: the reader
// against giflib's DGifSlurp on pictures of 1920 x 1080 and 4000 x 3000 written by giflib itself,
// a photograph-like one (smooth shading with dither noise) and a drawing-like one (flat areas).
// Prints megapixels per second, the ratio and its verdict. Times are the best of several rounds.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ProcessorName.h"
#include "ProcessorTime.h"
#include "base/Streams.h"
#include "bench/GiflibFrameWriter.h"
#include "gif/codec/GifImageModel.h"
#include "gif/codec/GifReader.h"

namespace gif_decode_race {

struct Picture {
    const char* name;
    double target;  // the least ratio to giflib
    int width, height;
    std::vector<uint8_t> pixels;
};

inline Picture Photo(int width, int height) {
    Picture p{"photo", 0, width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height)};
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            double v = 128 + 60 * std::sin(x / 97.0) + 45 * std::cos(y / 61.0) + 20 * std::sin((x + y) / 23.0);
            p.pixels[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(std::clamp(v, 0.0, 250.0) + (noise >> 30));
        }
    return p;
}

inline Picture Drawing(int width, int height) {
    Picture p{"drawing", 0, width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.pixels[static_cast<size_t>(y) * width + x] =
                static_cast<uint8_t>(((x / 150) * 7 + (y / 90) * 13 + ((x - y) / 400 == 0 ? 100 : 0)) & 0xFF);
    return p;
}

inline std::vector<uint8_t> Encode(const Picture& p) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, GiflibWriteToVector, &error);
    std::vector<GifColorType> colors(256);
    for (int i = 0; i < 256; ++i) colors[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
    ColorMapObject* map = GifMakeMapObject(256, colors.data());
    EGifPutScreenDesc(gif, p.width, p.height, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, p.width, p.height, false, nullptr);
    std::vector<GifPixelType> row(static_cast<size_t>(p.width));
    for (int y = 0; y < p.height; ++y) {
        std::memcpy(row.data(), p.pixels.data() + static_cast<size_t>(y) * p.width, row.size());
        EGifPutLine(gif, row.data(), p.width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

struct Cursor {
    const std::vector<uint8_t>* bytes;
    size_t pos;
};

inline int ReadFromVector(GifFileType* gif, GifByteType* out, int count) {
    auto* c = static_cast<Cursor*>(gif->UserData);
    size_t n = std::min(static_cast<size_t>(count), c->bytes->size() - c->pos);
    std::memcpy(out, c->bytes->data() + c->pos, n);
    c->pos += n;
    return static_cast<int>(n);
}

inline bool DecodeWithGiflib(const std::vector<uint8_t>& file, const Picture& p) {
    Cursor cursor{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&cursor, ReadFromVector, &error);
    bool ok = gif && DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1 &&
              std::memcmp(gif->SavedImages[0].RasterBits, p.pixels.data(), p.pixels.size()) == 0;
    if (gif) DGifCloseFile(gif, &error);
    return ok;
}

inline bool DecodeWithReader(TMemoryStream& stream, const Picture& p) {
    stream.SetPosition(0);
    TGIFImageModel image;
    TGifReader(image).Load(stream);
    return image.Images.Count() == 1 && image.Images[0].Data == p.pixels;
}

// Wine counts a process's time in ticks of 10 ms, as long as a whole decoding: wall time there.
#ifdef _WIN32
constexpr double (*kRaceClock)() = WallSeconds;
#else
constexpr double (*kRaceClock)() = ProcessorSeconds;
#endif

}  // namespace gif_decode_race

// Runs the race; photoTarget and drawingTarget are the least ratios to giflib. True when every
// picture decoded to giflib's pixels (the verdicts are printed, not returned).
inline bool RunGifDecodeRace(const char* title, double photoTarget, double drawingTarget) {
    using namespace gif_decode_race;
    std::printf("%s\nprocessor: %s\n", title, ProcessorName().c_str());
    std::printf("%-8s %-11s %9s %14s %14s %7s  %s\n", "picture", "size", "file KB", "giflib Mpx/s", "reader Mpx/s",
                "ratio", "target");
    bool allFast = true;
    for (auto size : {std::pair{1920, 1080}, std::pair{4000, 3000}}) {
        for (auto make : {&Photo, &Drawing}) {
            Picture p = make(size.first, size.second);
            p.target = make == &Photo ? photoTarget : drawingTarget;
            std::vector<uint8_t> file = Encode(p);
            const int rounds = size.first > 2000 ? 7 : 10;
            TMemoryStream stream(file);  // giflib too reads from the bytes in memory
            bool same = true;
            const auto [giflib, reader] = BestInTurn([&] { same = DecodeWithGiflib(file, p) && same; },
                                                     [&] { same = DecodeWithReader(stream, p) && same; }, rounds,
                                                     kRaceClock);
            if (!same) {
                std::printf("decoded pixels differ\n");
                return false;
            }
            const double mpx = p.pixels.size() / 1e6;
            const double ratio = giflib / reader;
            const bool met = ratio >= p.target;
            allFast = allFast && met;
            std::printf("%-8s %4dx%-6d %9lu %14.1f %14.1f %6.2fx  %.1fx: %s\n", p.name, p.width, p.height,
                        static_cast<unsigned long>(file.size() / 1024), mpx / giflib, mpx / reader, ratio, p.target, met ? "met" : "NOT met");
        }
    }
    std::printf("%s: %s\n", title, allFast ? "every target met" : "some target NOT met");
    return true;
}
