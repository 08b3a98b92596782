#pragma once
// Between pictures with transparency and the system's bitmaps.
#include <windows.h>

#include "picture/png/AlphaPicture.h"

class TBitmap;

// A 32-bit top-down DIB section with the picture's colours premultiplied by its alpha, as
// AlphaBlend wants them. The caller owns it; nullptr when the system has no memory for it.
HBITMAP PremultipliedDib(const TAlphaPicture& picture);
// The bitmap's pixels, all opaque (the bitmap itself is left as it is).
TAlphaPicture AlphaPictureFromBitmap(const TBitmap& bitmap);
