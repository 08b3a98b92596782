#pragma once
// Reading PNG data over libspng: the header alone, or the whole picture into rows that the
// caller provides once the size is known (a bitmap's own rows, written in place). Every bit
// depth and colour type comes out at 8 bits a sample: blue, green, red (3 bytes a pixel) for
// a picture without transparency, blue, green, red, alpha (4 bytes, straight alpha) for one
// with an alpha channel or a transparency chunk. Damaged and hostile files end in EPNG with
// a message of the error table, before anything is allocated from their sizes.
#include <cstddef>
#include <cstdint>

// The largest picture accepted: sides as BMP files may have, and decoded pixels within the
// budget of the program's other readers.
namespace PngLimits {
inline constexpr uint32_t MaxSide = 0x7FFF * 2;
inline constexpr uint64_t MaxDecodedBytes = uint64_t{256} << 20;
inline constexpr size_t MaxChunkBytes = size_t{4} << 20;  // one ancillary chunk (text, profile)
inline constexpr size_t MaxChunkCache = size_t{16} << 20;  // all kept ancillary chunks
}  // namespace PngLimits

struct TPngHeader {
    int32_t Width = 0;
    int32_t Height = 0;
    bool HasAlpha = false;  // an alpha channel or a transparency chunk
    bool Interlaced = false;
    int BytesPerPixel() const { return HasAlpha ? 4 : 3; }
};

// Where decoded rows go: the address of row 0 and the step from one row to the next
// (negative for bottom-up bitmaps). Each row holds at least width x BytesPerPixel bytes.
struct TPngRows {
    uint8_t* FirstRow = nullptr;
    ptrdiff_t RowStep = 0;
};

class TPngDecodeTarget {
public:
    virtual ~TPngDecodeTarget() = default;
    // Called once, when the picture is known to be within the limits. May throw.
    virtual TPngRows PrepareRows(const TPngHeader& header) = 0;
    // Rows 0 .. rowCount - 1 are final (row by row for a picture that is not interlaced, all
    // at once at the end for one that is).
    virtual void RowsDecoded(int32_t rowCount) { (void)rowCount; }
};

// Reads the header (and the chunks before the image data). Throws EPNG.
TPngHeader ReadPngHeader(const uint8_t* data, size_t size);
// Decodes the whole picture into the target's rows. Throws EPNG, or the target's error.
void DecodePng(const uint8_t* data, size_t size, TPngDecodeTarget& target);
// The message of the error table for a libspng error code.
const char* PngErrorText(int spngError);
