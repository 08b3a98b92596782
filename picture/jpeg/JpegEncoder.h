#pragma once
// Writing JPEG data from rows of 24-bit pixels in blue, green, red order, handed to libjpeg
// where they lie (a bitmap's own rows).
#include <cstddef>
#include <cstdint>

#include "base/Streams.h"
#include "picture/jpeg/JpegProgressMonitor.h"
#include "picture/jpeg/JpegSettings.h"

struct TJpegSourceRows {
    const uint8_t* FirstRow = nullptr;
    ptrdiff_t RowStep = 0;  // from row 0 to row 1; negative for bottom-up bitmaps
    int32_t Width = 0;
    int32_t Height = 0;
};

// Encodes with libjpeg's default parameters, then the settings' QualityLevel with
// baseline-compatible tables forced, grey output and the simple progression script when
// asked. Writes at the stream's position. Throws EJPEG; returns false when a progress
// listener aborted with EAbort (the stream then holds a partial result to discard).
bool EncodeJpeg(const TJpegSourceRows& rows, const TJpegSettings& settings, TStream& compressed,
                const TJpegProgressHandler& progress = {});
