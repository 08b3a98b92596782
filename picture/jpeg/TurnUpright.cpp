#include "picture/jpeg/TurnUpright.h"

#include <algorithm>
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

// Square tiles, so that a turn by a quarter, which reads the stored picture down its columns,
// finds the rows of one tile still in the cache.
constexpr int32_t TileSide = 64;

template <int BytesPerPixel>
void CopyTile(const StoredWalk& walk, int32_t left, int32_t top, int32_t right, int32_t bottom,
              const TJpegRows& upright) {
    for (int32_t y = top; y < bottom; ++y) {
        const uint8_t* from = walk.origin + y * walk.stepY + left * walk.stepX;
        uint8_t* to = upright.FirstRow + y * upright.RowStep + left * BytesPerPixel;
        // By index, so that no address past the tile's last pixel is ever formed.
        for (int32_t i = 0; i < right - left; ++i)
            std::memcpy(to + i * BytesPerPixel, from + i * walk.stepX, BytesPerPixel);
    }
}

template <int BytesPerPixel>
void CopyRows(const StoredWalk& walk, int32_t width, int32_t height, const TJpegRows& upright) {
    for (int32_t top = 0; top < height; top += TileSide) {
        const int32_t bottom = std::min(height, top + TileSide);
        for (int32_t left = 0; left < width; left += TileSide)
            CopyTile<BytesPerPixel>(walk, left, top, std::min(width, left + TileSide), bottom, upright);
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
