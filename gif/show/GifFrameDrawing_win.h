#pragma once
// Drawing one frame of a GIF picture into a rectangle (scaled from the logical screen, or
// tiled, with or without transparency), and a finished picture bitmap the same way. Below
// the painters, which draw frame after frame with it.
#include <windows.h>

class TBitmap;
class TGIFImage;
class TGIFSubImage;

// Where the frame lands when the logical screen is scaled into rect.
RECT GifFrameArea(const TGIFImage& image, const TGIFSubImage& frame, const RECT& rect);
// Draws the frame into rect of the context. transparent: pixels of the frame's transparent
// index leave the target as it was. tile: the frame repeats at its own size across rect.
void DrawGifFrame(HDC dc, const TGIFImage& image, TGIFSubImage& frame, const RECT& rect, bool transparent,
                  bool tile);
// The bitmap stretched into rect, or repeated at its own size across it.
void DrawBitmapScaledOrTiled(HDC dc, const RECT& rect, TBitmap& bitmap, bool tile);
