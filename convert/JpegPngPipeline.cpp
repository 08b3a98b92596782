#include "convert/JpegPngPipeline.h"

#include "picture/png/PngWriter.h"

void PipeJpegToPng(TStream& compressed, const TJpegSettings& settings, TJpegDecodeTarget& target, TStream& out) {
    PipeJpegRows(compressed, settings, target, [&out](int32_t width, int32_t height) {
        return std::make_unique<TJpegRowWriter<TPngWriter>>(out, width, height, TPngLayout::Rgb);
    });
}
