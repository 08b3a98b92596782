// The LZW coding race of gif_bench built as the program is, a 32-bit Windows program run under
// Wine, against giflib built for Windows the same way (scripts/build-gif-mingw.sh): the same
// photographs, decoded by the program's JPEG code and reduced to the web palette as the program
// writes them, in wall time (Wine counts process time in 10 ms ticks). The target is the native
// race's. Usage: gif_lzw_bench_win <photo.jpg>...   (run by scripts/bench.sh gif_lzw)
#include <cstdio>
#include <string>

#include "ProcessorName.h"
#include "bench/JpegToGifWays.h"
#include "bench/LzwRace.h"

int main(int argc, char** argv) {
    std::printf("LZW coding, 32-bit Windows build\nprocessor: %s\n", ProcessorName().c_str());
    for (int i = 1; i < argc; ++i) {
        TMemoryStream compressed(FileBytes(argv[i]));
        TPhotoRows rows;
        DecodeJpeg(compressed, DefaultJpegSettings, rows);
        TGIFImageModel image;
        AssignTrueColor(image, rows.Rows());
        RaceLzw(image, WallSeconds);
    }
    return argc > 1 ? 0 : 2;
}
