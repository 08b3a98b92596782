#pragma once
// The LZW coding race shared by the native GIF benchmark and the 32-bit Windows one: a frame of
// the program's GIF model saved by the program's writer and coded by giflib's EGifPutLine, in
// turn, each keeping its best time by the given clock. Prints the row and its verdict (at least
// 1.5 times giflib, the same bytes).
#include <cstdio>

#include "ProcessorTime.h"
#include "base/Streams.h"
#include "bench/GiflibFrameWriter.h"

inline void RaceLzw(const TGIFImageModel& image, double (*clock)()) {
    const TGIFSubImage& frame = image.Images[0];
    size_t ours = 0, theirs = 0;
    const auto [ourTime, theirTime] = BestInTurn(
        [&] {
            TMemoryStream stream;
            stream.Bytes().reserve(frame.Data.size());
            image.SaveToStream(stream);
            ours = stream.Bytes().size();
        },
        [&] { theirs = GiflibEncode(frame).size(); }, 7, clock);
    constexpr double Target = 1.5;
    const double ratio = theirTime / ourTime;
    std::printf("LZW %dx%d: ours %.1f ms (%zu bytes), giflib EGifPutLine %.1f ms (%zu bytes): %.2fx as fast "
                "(target %.1fx, same bytes: %s)\n",
                frame.Width(), frame.Height(), ourTime * 1e3, ours, theirTime * 1e3, theirs, ratio, Target,
                ratio >= Target && ours == theirs ? "met" : "NOT met");
}
