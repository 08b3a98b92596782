#pragma once
// The PNG side of the conversion engine: the picture with its transparency taken from each
// source kind, and a PNG picture turned into what each target can hold of its transparency.
#include <memory>
#include <string>

#include "picture/png/AlphaPicture.h"

class TBitmap;
class TGraphic;
class TIconWriter;

// The image of an icon file that the icon picture shows (the one nearest the system icon
// size), with its alpha channel or its mask as alpha.
TAlphaPicture AlphaPictureOfIconFile(const std::string& fileName);
// The graphic at its own size, drawn once on white and once on black: pixels that come out
// the same are opaque, the others (those the graphic lets through) fully transparent.
TAlphaPicture AlphaPictureOfGraphic(TGraphic& graphic);

// An 8-bit bitmap for a GIF: the web palette's nearest colours of the picture drawn on white,
// and its fully transparent pixels in a colour of their own, the bitmap's transparent colour.
std::unique_ptr<TBitmap> TransparentGifBitmap(const TAlphaPicture& picture);
// Writes the picture as a one-image icon of the system icon size (larger pictures stretched
// to it, smaller ones in its top-left corner), transparent where alpha is 0, at 256 colours or
// in true colour.
void WriteAlphaPictureAsIcon(const TAlphaPicture& picture, const std::string& target, bool trueColor, int iconWidth,
                             int iconHeight, const TIconWriter& writer);
// Writes the picture as a PNG file (a failed save leaves an existing file as it was).
void WritePngFile(const TAlphaPicture& picture, const std::string& target);
