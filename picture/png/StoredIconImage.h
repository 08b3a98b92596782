#pragma once
// An icon image as a file stores it, made a picture with transparency: a PNG image decoded, a
// bitmap image with its alpha channel, or else its mask, as alpha.
#include "picture/icongroup/IconGroup.h"
#include "picture/png/AlphaPicture.h"

TAlphaPicture AlphaPictureOfStoredImage(const TStoredImage& image);
