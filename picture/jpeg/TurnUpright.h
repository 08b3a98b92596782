#pragma once
// Turning and mirroring a stored picture the way an EXIF orientation asks, so that it is
// seen as the camera's holder saw it.
#include <cstdint>

#include "picture/jpeg/JpegDecoder.h"

// Orientations 5 to 8 turn the picture by a quarter: its width and height trade places.
bool OrientationSwapsSides(int orientation);

// Copies the stored picture (width × height pixels of bytesPerPixel bytes) into `upright`,
// whose rows are sized for the turned picture. Orientations outside 1 to 8 copy as stored.
void TurnUpright(const TJpegRows& stored, int32_t width, int32_t height, int bytesPerPixel, int orientation,
                 const TJpegRows& upright);
