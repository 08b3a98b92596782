// The LZW coding race of gif_bench built as the program is, a 32-bit Windows program run under
// Wine, against giflib built for Windows the same way (scripts/build-gif-mingw.sh): the same
// photographs, decoded by the program's JPEG code and reduced to the web palette as the program
// writes them, coded by the program's GIF writer and by giflib's EGifPutLine in turn, in wall time
// (Wine counts process time in 10 ms ticks). Both must write the same bytes; the target is the
// native race's. Usage: gif_lzw_bench_win <photo.jpg>...   (run by scripts/bench.sh gif_lzw)
#include <cstdio>
#include <string>
#include <vector>

#include "ProcessorName.h"
#include "ProcessorTime.h"
#include "bench/GiflibFrameWriter.h"
#include "bench/JpegToGifWays.h"

namespace {

void RaceLzw(const std::string& photo) {
    TMemoryStream compressed(FileBytes(photo));
    TPhotoRows rows;
    DecodeJpeg(compressed, DefaultJpegSettings, rows);
    TGIFImageModel image;
    AssignTrueColor(image, rows.Rows());
    const TGIFSubImage& frame = image.Images[0];
    size_t ours = 0, theirs = 0;
    const auto [ourTime, theirTime] = BestInTurn(
        [&] {
            TMemoryStream stream;
            image.SaveToStream(stream);
            ours = stream.Bytes().size();
        },
        [&] { theirs = GiflibEncode(frame).size(); }, 7, WallSeconds);
    constexpr double Target = 1.5;
    const double ratio = theirTime / ourTime;
    std::printf("LZW %dx%d: ours %.1f ms (%zu bytes), giflib EGifPutLine %.1f ms (%zu bytes): %.2fx as fast "
                "(target %.1fx, same bytes: %s)\n",
                rows.Width(), rows.Height(), ourTime * 1e3, ours, theirTime * 1e3, theirs, ratio, Target,
                ratio >= Target && ours == theirs ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char** argv) {
    std::printf("LZW coding, 32-bit Windows build\nprocessor: %s\n", ProcessorName().c_str());
    for (int i = 1; i < argc; ++i) RaceLzw(argv[i]);
    return argc > 1 ? 0 : 2;
}
