#include "convert/JpegGifPipeline.h"

#include "gif/colour/WebPaletteGifWriter.h"

void PipeJpegToGif(TStream& compressed, const TJpegSettings& settings, TJpegDecodeTarget& target, TStream& out) {
    PipeJpegRows(compressed, settings, target, [&out](int32_t width, int32_t height) {
        return std::make_unique<TJpegRowWriter<TWebPaletteGifWriter>>(out, width, height);
    });
}
