#pragma once
// Reading JPEG data: the header alone, or the whole picture into rows that the caller
// provides once the output size is known (a bitmap's own rows, written in place).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Streams.h"
#include "picture/jpeg/JpegProgressMonitor.h"
#include "picture/jpeg/JpegSettings.h"

// Sizes are those of the picture as it is meant to be seen: for an EXIF orientation of 5 to
// 8 the file's width is the height here.
struct TJpegHeader {
    int32_t ImageWidth = 0;
    int32_t ImageHeight = 0;
    bool IsGray = false;     // one grey component
    bool MultiScan = false;  // more than one scan (progressive and the like)
    int32_t ScaledWidth = 0;   // the output size at the asked reduction
    int32_t ScaledHeight = 0;
    int Orientation = 1;       // the EXIF orientation, 1 (as stored) to 8
};

// Reads the header from the stream's position; an image is required. Throws EJPEG.
TJpegHeader ReadJpegHeader(TStream& compressed, TJpegReductionScale scale = TJpegReductionScale::Full);

// Where decoded rows go: the address of row 0 and the step from one row to the next (negative
// for bottom-up bitmaps). Rows are blue, green, red at 24 bits per pixel, indices into the
// palette at 8.
struct TJpegRows {
    uint8_t* FirstRow = nullptr;
    ptrdiff_t RowStep = 0;
};

struct TJpegColor {
    uint8_t Red = 0, Green = 0, Blue = 0;
    bool operator==(const TJpegColor& o) const { return Red == o.Red && Green == o.Green && Blue == o.Blue; }
};

class TJpegDecodeTarget {
public:
    virtual ~TJpegDecodeTarget() = default;
    // Called once, when libjpeg knows the output size; bitsPerPixel is 8 or 24. May throw
    // (for a picture too large to hold), which ends the decode with that error.
    virtual TJpegRows PrepareRows(int32_t width, int32_t height, int bitsPerPixel) = 0;
    // 8-bit output: the colours the indices refer to, after each output pass.
    virtual void SetPalette(const std::vector<TJpegColor>& colors) = 0;
    // The rows from the top down to rowCount are final: called as the last pass over the
    // picture goes (the only one unless shown progressively). May throw to end the decode;
    // EAbort ends it as an aborting progress listener does.
    virtual void RowsDecoded(int32_t rowCount) { (void)rowCount; }
};

// Decodes the data from the stream's position with the settings' scale, smoothing, grey
// output, depth, speed and progressive display, turned upright as its EXIF orientation says
// (the rows the target prepares have the header's sizes; a turned picture's rows are all
// reported final at once, at the end). Throws EJPEG (or the target's error). Returns
// false when a progress listener aborted with EAbort: the rows keep what was decoded so far.
bool DecodeJpeg(TStream& compressed, const TJpegSettings& settings, TJpegDecodeTarget& target,
                const TJpegProgressHandler& progress = {});
