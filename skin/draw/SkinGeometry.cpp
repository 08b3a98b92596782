#include "skin/draw/SkinGeometry.h"

#include <algorithm>

TSkinRect SkinCellRect(int width, int height, int frames, int cell, bool stacked) {
    frames = std::max(1, frames);
    cell = std::clamp(cell, 1, frames);
    if (stacked) {
        int cellHeight = height / frames;
        return {0, (cell - 1) * cellHeight, width, cell * cellHeight};
    }
    int cellWidth = width / frames;
    return {(cell - 1) * cellWidth, 0, cell * cellWidth, height};
}

namespace {

// One axis of the nine-part layout: the three source spans of a cell side and the three
// target spans they go to.
struct TAxisSpans {
    int source[4];
    int target[4];
};

TAxisSpans SplitAxis(int cellStart, int cellLength, int targetLength, int before, int after) {
    before = std::clamp(before, 0, cellLength);
    after = std::clamp(after, 0, cellLength - before);
    if (targetLength < before + after) before = after = 0;
    return {{cellStart, cellStart + before, cellStart + cellLength - after, cellStart + cellLength},
            {0, before, targetLength - after, targetLength}};
}

}  // namespace

std::vector<TNinePart> NinePartLayout(const TSkinRect& cell, int targetWidth, int targetHeight, TSkinMargins margins) {
    std::vector<TNinePart> parts;
    if (cell.Empty() || targetWidth <= 0 || targetHeight <= 0) return parts;
    TAxisSpans across = SplitAxis(cell.left, cell.Width(), targetWidth, margins.left, margins.right);
    TAxisSpans down = SplitAxis(cell.top, cell.Height(), targetHeight, margins.top, margins.bottom);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            TNinePart part;
            part.source = {across.source[column], down.source[row], across.source[column + 1], down.source[row + 1]};
            part.target = {across.target[column], down.target[row], across.target[column + 1], down.target[row + 1]};
            part.centre = row == 1 && column == 1;
            if (!part.source.Empty() && !part.target.Empty()) parts.push_back(part);
        }
    }
    return parts;
}

std::vector<TPixelRun> OpaqueRuns(const uint32_t* row, int width, uint32_t transparent) {
    std::vector<TPixelRun> runs;
    int x = 0;
    while (x < width) {
        while (x < width && row[x] == transparent) ++x;
        int begin = x;
        while (x < width && row[x] != transparent) ++x;
        if (x > begin) runs.push_back({begin, x});
    }
    return runs;
}
