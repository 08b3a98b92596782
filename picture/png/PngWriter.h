#pragma once
// Writing PNG files over libspng, row by row, so that a picture can be written while it is
// still being decoded: 8-bit RGB, 8-bit RGBA or an 8-bit palette with its transparency.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/Streams.h"

enum class TPngLayout {
    Rgb,      // rows of blue, green, red
    Rgba,     // rows of blue, green, red, alpha (straight)
    Palette,  // rows of one index a pixel
};

struct TPngPaletteEntry {
    uint8_t Red = 0, Green = 0, Blue = 0, Alpha = 255;
};

// How hard the writer works: the deflate level (0 to 9) and which row filters it tries.
struct TPngCompression {
    int Level = 4;
    bool AdaptiveFilters = true;  // every filter, the best a row; otherwise none
};
// What the program writes: a photograph at a few times the speed of the common tools' default,
// at a size no worse than theirs (bench/png_bench.cpp measures both).
TPngCompression DefaultPngCompression(TPngLayout layout);

class TPngWriter {
public:
    // Starts the file in `out`. Palette pictures give up to 256 entries.
    TPngWriter(TStream& out, int32_t width, int32_t height, TPngLayout layout,
               const std::vector<TPngPaletteEntry>& palette = {});
    TPngWriter(TStream& out, int32_t width, int32_t height, TPngLayout layout,
               const std::vector<TPngPaletteEntry>& palette, const TPngCompression& compression);
    ~TPngWriter();
    TPngWriter(const TPngWriter&) = delete;
    TPngWriter& operator=(const TPngWriter&) = delete;

    // The next row, from the top, in the layout's form. Throws EPNG or the stream's error.
    void AddRow(const uint8_t* row);
    // After the last row: the file is complete. Throws EPNG when rows are missing.
    void Finish();

private:
    struct TState;
    std::unique_ptr<TState> state_;
};
