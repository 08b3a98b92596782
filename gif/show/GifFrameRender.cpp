#include "gif/show/GifFrameRender.h"

#include "base/Exceptions.h"
#include "gif/codec/GifImageModel.h"
#include "gif/colour/ColorLookup.h"
#include "gif/colour/Ditherers.h"

namespace {

constexpr uint32_t kDitherBits = GifPaint::Dither | GifPaint::DitherOnPaletteScreen;

void DitherToWebPalette(const TGIFSubImage& frame, const TGIFColorMap& map, TGifRenderedFrame& out) {
    TNetscapeColorLookup lookup;
    TFloydSteinbergDitherer ditherer(frame.Width(), lookup);
    out.colors = TNetscapeColorLookup::Palette();
    const TGIFColor black;
    for (int y = 0; y < frame.Height(); ++y) {
        const uint8_t* row = frame.ScanLine(y);
        uint8_t* target = out.indices.data() + static_cast<size_t>(y) * frame.Width();
        // Rows alternate direction; the ditherer keeps the column.
        for (int x = ditherer.Column; x >= 0 && x < frame.Width(); x = ditherer.Column) {
            const TGIFColor& c = row[x] < map.Count() ? map[row[x]] : black;
            target[x] = static_cast<uint8_t>(ditherer.Dither(c.Red, c.Green, c.Blue));
        }
        ditherer.NextLine();
    }
}

}  // namespace

bool GifDitherInEffect(uint32_t paintFlags, bool autoDither) {
    if ((paintFlags & kDitherBits) == kDitherBits) return autoDither;
    return (paintFlags & GifPaint::Dither) != 0;
}

const TGIFColorMap& GifDisplayColors(const TGIFImageModel& image, const TGIFSubImage& frame) {
    if (!frame.ColorMap.Empty()) return frame.ColorMap;
    if (!image.Header.ColorMap.Empty()) return image.Header.ColorMap;
    const TGIFSubImage* first = image.Images.First();
    if (first && first != &frame && !first->ColorMap.Empty()) return first->ColorMap;
    throw GIFException(ErrorText::GifNoColorTable);
}

void BuildGifMask(const TGIFSubImage& frame, TGifRenderedFrame& out) {
    out.mask.clear();
    out.maskStride = ((frame.Width() + 15) / 16) * 2;
    if (!frame.Transparent || !frame.GraphicControlExtension || frame.Empty()) return;
    const uint8_t key = frame.GraphicControlExtension->TransparentColorIndex;
    std::vector<uint8_t> bits(static_cast<size_t>(out.maskStride) * static_cast<size_t>(frame.Height()), 0);
    bool any = false;
    for (int y = 0; y < frame.Height(); ++y) {
        const uint8_t* row = frame.ScanLine(y);
        uint8_t* target = bits.data() + static_cast<size_t>(y) * static_cast<size_t>(out.maskStride);
        for (int x = 0; x < frame.Width(); ++x)
            if (row[x] == key) {
                target[x >> 3] = static_cast<uint8_t>(target[x >> 3] | (0x80 >> (x & 7)));
                any = true;
            }
    }
    if (any) out.mask = std::move(bits);
}

TGifRenderedFrame RenderGifFrame(const TGIFImageModel& image, const TGIFSubImage& frame, bool dither) {
    TGifRenderedFrame out;
    out.width = frame.Width();
    out.height = frame.Height();
    if (dither) {
        out.colors = TNetscapeColorLookup::Palette();
    } else {
        const TGIFColorMap& map = GifDisplayColors(image, frame);
        out.colors.assign(map.Data(), map.Data() + map.Count());
    }
    if (frame.Empty()) return out;
    out.indices.resize(frame.Data.size());
    if (dither)
        DitherToWebPalette(frame, GifDisplayColors(image, frame), out);
    else
        out.indices = frame.Data;
    BuildGifMask(frame, out);
    return out;
}
