#pragma once
// Frame bitmaps: each frame is rendered once into a bitmap with its palette (and, for a
// transparent frame, a monochrome mask), kept in the frame's cache until the frame changes.
#include <windows.h>

class TBitmap;
class TGIFImage;
class TGIFSubImage;

// The frame's bitmap (rendered on first use). Raises "No global or local color table
// defined" for a frame with no colours anywhere.
TBitmap& GifFrameBitmap(const TGIFImage& image, TGIFSubImage& frame);
// The frame's mask (1 where the pixel is transparent), or nullptr when nothing is.
HBITMAP GifFrameMask(const TGIFImage& image, TGIFSubImage& frame);
// The frame's palette, or nullptr for an empty frame.
HPALETTE GifFramePalette(const TGIFImage& image, TGIFSubImage& frame);
// A palette of the given colours, each entry flagged PC_NOCOLLAPSE.
HPALETTE CreateGifPalette(const struct TGIFColor* colors, int count);
// A new palette with the same entries.
HPALETTE CopyGifPalette(HPALETTE palette);
