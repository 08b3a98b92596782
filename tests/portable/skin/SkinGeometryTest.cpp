// Where skin pictures are cut: cells, the nine parts of a cell at a target size, opaque runs.
#include <gtest/gtest.h>

#include "skin/draw/SkinGeometry.h"

TEST(SkinGeometry, CellsSideBySideOrStackedAndClamped) {
    struct Case {
        int width, height, frames, cell;
        bool stacked;
        TSkinRect expected;
    } cases[] = {
        {40, 10, 4, 1, false, {0, 0, 10, 10}},   {40, 10, 4, 4, false, {30, 0, 40, 10}},
        {10, 60, 3, 2, true, {0, 20, 10, 40}},   {40, 10, 4, 9, false, {30, 0, 40, 10}},  // past the last
        {40, 10, 0, 1, false, {0, 0, 40, 10}},   {41, 10, 2, 2, false, {20, 0, 40, 10}},  // odd width
    };
    for (const Case& c : cases)
        EXPECT_EQ(SkinCellRect(c.width, c.height, c.frames, c.cell, c.stacked), c.expected)
            << c.width << "x" << c.height << " frames " << c.frames << " cell " << c.cell;
}

TEST(SkinGeometry, NinePartsKeepMarginsAndDropThemWhenTheTargetIsTooSmall) {
    TSkinRect cell{20, 0, 40, 30};  // the second cell of a 3-frame 60 × 30 picture
    auto parts = NinePartLayout(cell, 100, 50, {4, 5, 6, 7});
    ASSERT_EQ(parts.size(), 9u);
    EXPECT_EQ(parts[0].source, (TSkinRect{20, 0, 24, 5}));     // top-left corner 1:1
    EXPECT_EQ(parts[0].target, (TSkinRect{0, 0, 4, 5}));
    EXPECT_EQ(parts[4].source, (TSkinRect{24, 5, 34, 23}));    // centre
    EXPECT_EQ(parts[4].target, (TSkinRect{4, 5, 94, 43}));
    EXPECT_TRUE(parts[4].centre);
    EXPECT_EQ(parts[8].source, (TSkinRect{34, 23, 40, 30}));   // bottom-right corner
    EXPECT_EQ(parts[8].target, (TSkinRect{94, 43, 100, 50}));

    // Narrower than 4 + 6: the horizontal margins go, the vertical ones stay.
    auto narrow = NinePartLayout(cell, 9, 50, {4, 5, 6, 7});
    ASSERT_EQ(narrow.size(), 3u);
    EXPECT_EQ(narrow[1].source, (TSkinRect{20, 5, 40, 23}));
    EXPECT_EQ(narrow[1].target, (TSkinRect{0, 5, 9, 43}));

    // Margins wider than the cell are cut to it; nothing is drawn into an empty target.
    auto wide = NinePartLayout({0, 0, 10, 10}, 30, 10, {8, 0, 8, 0});
    ASSERT_EQ(wide.size(), 2u);  // left 8, no middle, right 2
    EXPECT_EQ(wide[1].source, (TSkinRect{8, 0, 10, 10}));
    EXPECT_EQ(wide[1].target, (TSkinRect{28, 0, 30, 10}));
    EXPECT_TRUE(NinePartLayout(cell, 0, 10, {}).empty());
}

TEST(SkinGeometry, OpaqueRunsSkipTheTransparentColour) {
    const uint32_t M = 0xFF00FF, x = 0x123456;
    uint32_t row[] = {M, x, x, M, M, x, M, x};
    auto runs = OpaqueRuns(row, 8, M);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].begin, 1);
    EXPECT_EQ(runs[0].end, 3);
    EXPECT_EQ(runs[1].begin, 5);
    EXPECT_EQ(runs[2].begin, 7);
    EXPECT_EQ(runs[2].end, 8);
    uint32_t all[] = {M, M};
    EXPECT_TRUE(OpaqueRuns(all, 2, M).empty());
}
