#pragma once
// Where the painters take the parts of a skin picture from and where they put them: the cells
// of multi-state pictures, the nine parts of a cell stretched to a target size with fixed
// margins, and the opaque runs of a picture's rows that outline a window.
#include <array>
#include <cstdint>
#include <vector>

struct TSkinRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const TSkinRect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

// The fixed (neither stretched nor tiled) margins of a skin picture's cell.
struct TSkinMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Cell `cell` (counted from 1) of `frames` equal cells of a width × height picture, side by
// side or stacked. A cell outside 1 … frames is clamped into it; fewer than one frame counts
// as one.
TSkinRect SkinCellRect(int width, int height, int frames, int cell, bool stacked);

// One of the nine parts: copy `source` (picture coordinates) into `target` (coordinates of
// the target, from its top-left); the centre is the one part that may be tiled.
struct TNinePart {
    TSkinRect source;
    TSkinRect target;
    bool centre = false;
};

// The nine parts of `cell` drawn into a target of the given size. A target narrower than the
// two horizontal margins drops both of them, likewise vertically; margins larger than the
// cell are cut to it. Parts with nothing to copy or nowhere to go are left out.
std::vector<TNinePart> NinePartLayout(const TSkinRect& cell, int targetWidth, int targetHeight, TSkinMargins margins);

// The runs of one row of 32-bit pixels that are not `transparent`, as [begin, end) pairs.
struct TPixelRun {
    int begin, end;
};
std::vector<TPixelRun> OpaqueRuns(const uint32_t* row, int width, uint32_t transparent);
