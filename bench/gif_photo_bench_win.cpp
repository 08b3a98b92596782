// The GIF writer's whole-picture benchmark (gif_bench "jpeg") as a 32-bit Windows program, the
// yardstick for the conversion page, which runs under Wine as the same kind of program: a JPEG
// photograph decoded through the program's JPEG code, reduced to the web palette and coded as
// one GIF frame through the GIF model, saved through the program's safe file saving. Nothing
// of the page (bitmaps, GDI, picture objects) takes part: this is the least work a JPEG to GIF
// conversion can do.
// Prints the best processor time (GetProcessTimes) and the best wall time of a few runs.
// Usage: gif_photo_bench_win <photo.jpg> <out.gif> [runs]   (run by scripts/bench.sh convert)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "gif/GifImageModel.h"
#include "picture/JpegDecoder.h"
#include "toolkit/FileStream.h"

namespace {

double ProcessorSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

double WallSeconds() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// 24-bit rows, top row first, in one block.
class TPhotoRows : public TJpegDecodeTarget {
public:
    TJpegRows PrepareRows(int32_t width, int32_t height, int bitsPerPixel) override {
        if (bitsPerPixel != 24) throw std::runtime_error("the photograph must decode to 24 bits");
        width_ = width;
        height_ = height;
        pixels_.assign(static_cast<size_t>(width) * height * 3, 0);
        return {pixels_.data(), static_cast<ptrdiff_t>(width) * 3};
    }
    void SetPalette(const std::vector<TJpegColor>&) override {}
    TRgbRows Rows() const {
        return {width_, height_, [this](int row) { return pixels_.data() + static_cast<size_t>(row) * width_ * 3; }};
    }

private:
    int width_ = 0, height_ = 0;
    std::vector<uint8_t> pixels_;
};

void WriteJpegAsGif(const std::string& photo, const std::string& out) {
    TFileStream file(photo, TFileMode::OpenRead);
    TMemoryStream compressed(file.ReadRemaining());
    TPhotoRows rows;
    DecodeJpeg(compressed, DefaultJpegSettings, rows);
    TGIFImageModel image;
    image.AssignTrueColor(rows.Rows());
    SaveFileSafely(out, [&](TStream& stream) { image.SaveToStream(stream); });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: gif_photo_bench_win <photo.jpg> <out.gif> [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    double bestProcessor = 1e30, bestWall = 1e30;
    try {
        for (int i = 0; i < runs; ++i) {
            const double processor = ProcessorSeconds(), wall = WallSeconds();
            WriteJpegAsGif(argv[1], argv[2]);
            bestProcessor = std::min(bestProcessor, ProcessorSeconds() - processor);
            bestWall = std::min(bestWall, WallSeconds() - wall);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "gif_photo_bench_win: %s\n", error.what());
        return 1;
    }
    std::printf("JPEG to GIF, the writer alone (32-bit Windows build): processor %.0f ms, wall %.0f ms (best of %d)\n",
                bestProcessor * 1e3, bestWall * 1e3, runs);
    return 0;
}
