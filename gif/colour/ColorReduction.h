#pragma once
// Reducing a true-colour picture to an 8-bit image of at most 256 colours: the palette of
// each reduction method, its colour lookup, and the row walk through a ditherer.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gif/codec/GifColorMap.h"
#include "gif/colour/ColorLookup.h"
#include "gif/colour/DibWriter.h"

// 24-bit rows, blue, green, red a pixel, top row first.
struct TRgbRows {
    int Width = 0;
    int Height = 0;
    std::function<const uint8_t*(int row)> Row;
};

// The palettes that only the platform can give.
class TSystemPalettes {
public:
    virtual ~TSystemPalettes() = default;
    // The stock default palette (20 colours).
    virtual std::vector<TGIFColor> StockPalette() = 0;
    // The halftone palette for the screen.
    virtual std::vector<TGIFColor> HalftonePalette() = 0;
};

// The palette of a reduction method (1 to 9): empty for other methods, and for a system
// palette when none is given. Octree methods read every pixel of the source.
std::vector<TGIFColor> ReductionPalette(int method, const TRgbRows& source, int quantizeBits,
                                        const std::vector<TGIFColor>* givenPalette, TSystemPalettes* system);
// The lookup a method uses over its palette.
std::unique_ptr<TColorLookup> CreateColorLookup(int method, const std::vector<TGIFColor>& palette);

// Reduces the source with a method from 1 to 9 and a dither kind from 0 to 6 into an 8-bit
// image whose table is the palette followed by black. Nothing (a null result) for a method
// outside 1 to 9, a palette without colours or an unknown dither kind: the caller's result
// then stays as it was. Errors of the image writer are passed on.
std::unique_ptr<TDIBWriter> ReduceColorRows(const TRgbRows& source, int method, int ditherKind,
                                            const std::vector<TGIFColor>* givenPalette, int quantizeBits,
                                            TSystemPalettes* system);
