#pragma once
// Drawing a GIF picture: one frame into a rectangle (scaled from the logical screen, or
// tiled, with or without transparency), the picture bitmap (the first frame on the logical
// screen, which painters change frame by frame), and the picture's drawing operation.
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
// The picture bitmap, made on first use; nullptr for an empty picture.
TBitmap* GifPictureBitmap(TGIFImage& image);
// Drops the picture bitmap and the palette and stops the painter started by drawing.
void DropPictureBitmap(TGIFImage& image);
