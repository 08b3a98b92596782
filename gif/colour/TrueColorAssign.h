#pragma once
// A true-colour picture made the one frame of a GIF picture: reduced with the picture's
// ReductionMethod, DitherKind and QuantizeBits (method 0 keeps its colours). A reduction that
// gives nothing leaves an empty frame.
#include "gif/codec/GifImageModel.h"
#include "gif/colour/ColorReduction.h"

TGIFSubImage& AssignTrueColor(TGIFImageModel& picture, const TRgbRows& rows, TSystemPalettes* system = nullptr);
