// GIF writing speed, side by side with reference tools on the same pictures:
//  1. LZW coding of 8-bit frames (1920 x 1080 and 4000 x 3000) against giflib's EGifPutLine;
//  2. web-palette reduction of a 24-bit 4000 x 3000 picture against memcpy bandwidth
//     (bytes read plus written);
//  3. a whole 4000 x 3000 JPEG photograph to GIF, as the program converts it (decoding on one
//     thread, reducing and coding on the other), against the same stages one after the other
//     (whose GIF must be the same bytes) and ImageMagick's
//     "convert photo.jpg -remap netscape: out.gif".
// Times are processor time (this process and its children), the best of several runs; the
// whole conversion, being on two threads, is judged by its wall time. Each row ends with its
// verdict (LZW coding at least 1.5 times giflib with the same bytes, the reduction at least
// 60 % of memcpy's bandwidth), and the processor's model name comes first.
// Usage: gif_bench [work folder [lzw|reduce|jpeg]]   (default: the program's own folder, all parts)
// The photographs are made once in the work folder with ImageMagick's plasma generator.
// Run alone (sanitizers off):
//   scripts/bench.sh gif
#include <cstdio>

#include <jpeglib.h>

#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ProcessorName.h"
#include "ProcessorTime.h"
#include "base/FileStream.h"
#include "bench/BenchFiles.h"
#include "bench/JpegToGifWays.h"
#include "bench/LzwRace.h"
#include "gif/codec/GifImageModel.h"
#include "gif/colour/ColorReduction.h"

namespace {

struct TPhoto {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Bgr;
    TRgbRows Rows() const {
        return {Width, Height, [this](int row) { return Bgr.data() + static_cast<size_t>(row) * Width * 3; }};
    }
};

TPhoto DecodeJpeg(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        std::perror(path.c_str());
        std::exit(1);
    }
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    TPhoto photo;
    photo.Width = static_cast<int>(info.output_width);
    photo.Height = static_cast<int>(info.output_height);
    photo.Bgr.resize(static_cast<size_t>(photo.Width) * photo.Height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = photo.Bgr.data() + static_cast<size_t>(info.output_scanline) * photo.Width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return photo;
}

// A frame of web-palette indices from a photograph, as the program writes them.
TGIFImageModel& FrameOf(TGIFImageModel& image, const TPhoto& photo) {
    AssignTrueColor(image, photo.Rows());
    return image;
}

void BenchLzw(const std::string& folder, int width, int height) {
    TPhoto photo = DecodeJpeg(MakePhoto(folder, width, height));
    TGIFImageModel image;
    RaceLzw(FrameOf(image, photo), ProcessorSeconds);
}

void BenchReduction(const std::string& folder) {
    TPhoto photo = DecodeJpeg(MakePhoto(folder, 4000, 3000));
    const size_t pixels = photo.Bgr.size() / 3;
    std::vector<uint8_t> copy(photo.Bgr.size());
    std::memset(copy.data(), 1, copy.size());
    // The two take turns, so that the machine's pace (shared with others) weighs on both alike.
    double copyTime = 1e30, reduceTime = 1e30;
    std::unique_ptr<TDIBWriter> reduced;
    for (int round = 0; round < 10; ++round) {
        copyTime = std::min(copyTime, BestSeconds([&] { std::memcpy(copy.data(), photo.Bgr.data(), copy.size()); }, 1));
        reduceTime = std::min(reduceTime, BestSeconds([&] {
            reduced = ReduceColorRows(photo.Rows(), GifReduction::WebPalette, GifDither::Nearest, nullptr, 8, nullptr);
        }, 1));
    }
    const double copyBandwidth = 2.0 * static_cast<double>(copy.size()) / copyTime;
    const double reduceBandwidth = static_cast<double>(pixels * 3 + pixels) / reduceTime;
    constexpr double TargetShare = 60;
    const double share = 100.0 * reduceBandwidth / copyBandwidth;
    std::printf("web-palette reduction 4000x3000: %.1f ms, %.2f GB/s; memcpy %.2f GB/s: %.0f %% of memcpy "
                "(target %.0f %%: %s)\n",
                reduceTime * 1e3, reduceBandwidth / 1e9, copyBandwidth / 1e9, share, TargetShare,
                share >= TargetShare ? "met" : "NOT met");
}

// The best processor and wall times of several runs.
struct TTimes {
    double processor = 1e30, wall = 1e30;
};

TTimes BestTimes(const std::function<void()>& run, int repeats) {
    TTimes best;
    for (int i = 0; i < repeats; ++i) {
        const double processor = ProcessorSeconds(), wall = WallSeconds();
        run();
        best.processor = std::min(best.processor, ProcessorSeconds() - processor);
        best.wall = std::min(best.wall, WallSeconds() - wall);
    }
    return best;
}

// The program's conversion, on two threads, against the same stages one after the other and
// against ImageMagick; the verdict is on the wall time of the two threads.
void BenchWholePicture(const std::string& folder) {
    constexpr double TargetMs = 110;
    const std::string photoPath = MakePhoto(folder, 4000, 3000);
    const std::string ourOut = folder + "/bench-ours.gif", inTurnOut = folder + "/bench-ours-in-turn.gif";
    const std::string theirOut = folder + "/bench-convert.gif";
    const TTimes inTurn = BestTimes([&] { WriteJpegAsGifInTurn(photoPath, inTurnOut); }, 3);
    const TTimes ours = BestTimes([&] { WriteJpegAsGifOnTwoThreads(photoPath, ourOut); }, 5);
    const bool same = FileBytes(ourOut) == FileBytes(inTurnOut);
    const std::string command = "/usr/bin/convert " + photoPath + " -remap netscape: " + theirOut;
    const TTimes theirs = BestTimes([&] {
        if (std::system(command.c_str()) != 0) std::fprintf(stderr, "convert failed\n");
    }, 2);
    std::printf("JPEG to GIF 4000x3000 one stage after the other: %.0f ms processor, %.0f ms wall\n",
                inTurn.processor * 1e3, inTurn.wall * 1e3);
    std::printf("JPEG to GIF 4000x3000 on two threads: %.0f ms processor, %.0f ms wall; the GIF is %s the "
                "one-after-the-other GIF\n",
                ours.processor * 1e3, ours.wall * 1e3, same ? "byte for byte" : "NOT");
    std::printf("ImageMagick convert -remap netscape: %.0f ms processor, %.0f ms wall: %.1fx our wall time in "
                "processor time, %.1fx in wall time\n",
                theirs.processor * 1e3, theirs.wall * 1e3, theirs.processor / ours.wall, theirs.wall / ours.wall);
    std::printf("JPEG to GIF whole: %.0f ms wall (target %.0f ms: %s)\n", ours.wall * 1e3, TargetMs,
                ours.wall * 1e3 <= TargetMs && same ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : argv[0];
    if (argc <= 1) folder = folder.find('/') == std::string::npos ? "." : folder.substr(0, folder.rfind('/'));
    const std::string only = argc > 2 ? argv[2] : "";
    std::printf("processor: %s\n", ProcessorName().c_str());
    if (only.empty() || only == "lzw") {
        BenchLzw(folder, 1920, 1080);
        BenchLzw(folder, 4000, 3000);
    }
    if (only.empty() || only == "reduce") BenchReduction(folder);
    if (only.empty() || only == "jpeg") BenchWholePicture(folder);
    return 0;
}
