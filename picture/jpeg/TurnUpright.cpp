#include "picture/jpeg/TurnUpright.h"

#include <cstddef>
#include <cstring>

#include "picture/jpeg/ExifOrientation.h"

namespace {

// Where the upright picture's pixel (x, y) is in the stored one: at origin + x * stepX +
// y * stepY, in bytes.
struct StoredWalk {
    const uint8_t* origin;
    ptrdiff_t stepX, stepY;
};

StoredWalk WalkFor(const TJpegRows& stored, int32_t width, int32_t height, ptrdiff_t pixel, int orientation) {
    const ptrdiff_t row = stored.RowStep;
    const uint8_t* topLeft = stored.FirstRow;
    const uint8_t* topRight = topLeft + (width - 1) * pixel;
    const uint8_t* bottomLeft = topLeft + (height - 1) * row;
    const uint8_t* bottomRight = bottomLeft + (width - 1) * pixel;
    switch (orientation) {
    case 2: return {topRight, -pixel, row};        // mirrored left to right
    case 3: return {bottomRight, -pixel, -row};    // turned half round
    case 4: return {bottomLeft, pixel, -row};      // mirrored top to bottom
    case 5: return {topLeft, row, pixel};          // mirrored along the main diagonal
    case 6: return {bottomLeft, -row, pixel};      // turned a quarter clockwise
    case 7: return {bottomRight, -row, -pixel};    // mirrored along the other diagonal
    case 8: return {topRight, row, -pixel};        // turned a quarter anticlockwise
    default: return {topLeft, pixel, row};
    }
}

template <int BytesPerPixel>
void CopyRows(const StoredWalk& walk, int32_t width, int32_t height, const TJpegRows& upright) {
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* from = walk.origin + y * walk.stepY;
        uint8_t* to = upright.FirstRow + y * upright.RowStep;
        for (int32_t x = 0; x < width; ++x, from += walk.stepX, to += BytesPerPixel)
            std::memcpy(to, from, BytesPerPixel);
    }
}

}  // namespace

bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= ExifOrientationLast; }

void TurnUpright(const TJpegRows& stored, int32_t width, int32_t height, int bytesPerPixel, int orientation,
                 const TJpegRows& upright) {
    if (width <= 0 || height <= 0) return;
    const StoredWalk walk = WalkFor(stored, width, height, bytesPerPixel, orientation);
    const bool swap = OrientationSwapsSides(orientation);
    const int32_t uprightWidth = swap ? height : width, uprightHeight = swap ? width : height;
    if (bytesPerPixel == 1)
        CopyRows<1>(walk, uprightWidth, uprightHeight, upright);
    else
        CopyRows<3>(walk, uprightWidth, uprightHeight, upright);
}
