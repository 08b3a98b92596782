// The GIF writer's whole-picture benchmark (gif_bench "jpeg") as a 32-bit Windows program, the
// yardstick for the conversion page, which runs under Wine as the same kind of program: a JPEG
// photograph decoded through the program's JPEG code on one thread while the other reduces it
// to the web palette and codes it as one GIF frame, saved through the program's safe file
// saving. Nothing of the page (bitmaps, GDI, picture objects) takes part: this is the least
// work a JPEG to GIF conversion can do. The same done one stage after the other (as before
// the two threads) is timed beside it, and both files must be the same bytes.
// An output named .png times the same for JPEG to PNG (filtering and deflating on the other
// thread), the yardstick of the page's PNG.
// Prints the best processor time (GetProcessTimes) and the best wall time of a few runs.
// Usage: gif_photo_bench_win <photo.jpg> <out.gif|out.png> [runs]   (run by scripts/bench.sh convert)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/JpegToGifWays.h"
#include "ProcessorName.h"
#include "ProcessorTime.h"

namespace {

constexpr double TargetWallMs = 110;

struct TBest {
    double processor = 1e30, wall = 1e30;
};

TBest BestOf(int runs, void (*write)(const std::string&, const std::string&), const std::string& photo,
             const std::string& out) {
    TBest best;
    for (int i = 0; i < runs; ++i) {
        const double processor = ProcessorSeconds(), wall = WallSeconds();
        write(photo, out);
        best.processor = std::min(best.processor, ProcessorSeconds() - processor);
        best.wall = std::min(best.wall, WallSeconds() - wall);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: gif_photo_bench_win <photo.jpg> <out.gif|out.png> [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    std::printf("processor: %s\n", ProcessorName().c_str());
    const std::string photo = argv[1], out = argv[2];
    const bool png = out.size() > 4 && out.compare(out.size() - 4, 4, ".png") == 0;
    const char* format = png ? "PNG" : "GIF";
    const std::string inTurnOut = out + (png ? ".in-turn.png" : ".in-turn.gif");
    TBest inTurn, twoThreads;
    bool same = false;
    try {
        inTurn = BestOf(runs, png ? WriteJpegAsPngInTurn : WriteJpegAsGifInTurn, photo, inTurnOut);
        twoThreads = BestOf(runs, png ? WriteJpegAsPngOnTwoThreads : WriteJpegAsGifOnTwoThreads, photo, out);
        same = FileBytes(out) == FileBytes(inTurnOut);
        std::remove(inTurnOut.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "gif_photo_bench_win: %s\n", error.what());
        return 1;
    }
    std::printf("JPEG to %s one stage after the other (32-bit Windows build): processor %.0f ms, wall %.0f ms (best of %d)\n",
                format, inTurn.processor * 1e3, inTurn.wall * 1e3, runs);
    std::printf("JPEG to %s, the writer alone (32-bit Windows build): processor %.0f ms, wall %.0f ms (best of %d)\n",
                format, twoThreads.processor * 1e3, twoThreads.wall * 1e3, runs);
    std::printf("the two-thread %s is %s the one-after-the-other %s\n", format, same ? "byte for byte" : "NOT", format);
    if (png) return same ? 0 : 1;
    std::printf("writer alone: wall %.0f ms, %.2fx the one-after-the-other wall time (target %.0f ms wall: %s)\n",
                twoThreads.wall * 1e3, twoThreads.wall / inTurn.wall, TargetWallMs,
                twoThreads.wall * 1e3 <= TargetWallMs ? "met" : "NOT met");
    return same ? 0 : 1;
}
