#pragma once
// A frame turned into what a bitmap is made of: a colour table, one index a pixel and the
// transparency mask. The Windows side makes the frame bitmap, palette and mask bitmap from it.
#include <cstdint>
#include <vector>

#include "gif/codec/GifColorMap.h"

class TGIFImageModel;
class TGIFSubImage;

struct TGifRenderedFrame {
    int width = 0, height = 0;
    std::vector<TGIFColor> colors;  // the bitmap's colour table
    std::vector<uint8_t> indices;   // width x height, rows top first; empty for an empty frame
    // 1 bit a pixel, most significant bit first, rows padded to 16 bits; a bit is set where
    // the pixel has the transparent index. Empty unless the frame is transparent and at least
    // one bit is set.
    std::vector<uint8_t> mask;
    int maskStride = 0;
};

// Whether frames are dithered to the web palette: PaintFlags bit 9, and with bit 10 only on
// screens of 8 bits per pixel or less.
bool GifDitherInEffect(uint32_t paintFlags, bool autoDither);

// The colours a frame is shown with: its own map, else the picture's (the global map, else
// the first frame's map). Raises "No global or local color table defined" when none exists.
const TGIFColorMap& GifDisplayColors(const TGIFImageModel& image, const TGIFSubImage& frame);

// Renders a frame: its indices against its display colours, or (dither) every pixel's colour
// mapped to the 216-colour web palette with Floyd-Steinberg error diffusion.
TGifRenderedFrame RenderGifFrame(const TGIFImageModel& image, const TGIFSubImage& frame, bool dither);

// The transparency mask of a frame, as RenderGifFrame fills it.
void BuildGifMask(const TGIFSubImage& frame, TGifRenderedFrame& out);
