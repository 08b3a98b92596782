#pragma once
// Showing a GIF picture as a graphic: the picture bitmap (the first frame on the logical
// screen, which painters change frame by frame) and the picture's drawing operation, which
// starts a painter for an animation. Above the painters.
#include <windows.h>

class TBitmap;
class TGIFImage;

// The picture bitmap, made on first use; nullptr for an empty picture.
TBitmap* GifPictureBitmap(TGIFImage& image);
// Drops the picture bitmap and the palette and stops the painter started by drawing.
void DropPictureBitmap(TGIFImage& image);
