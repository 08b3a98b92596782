#include <gtest/gtest.h>

#include "skin/draw/SkinElementLayout.h"
#include "skin/stored/SkinFrameRules.h"

namespace {

TEST(SkinFrameRules, CaptionButtonRatios) {
    // 3.8 times as wide as high: 3 frames; 4 times: 6.
    EXPECT_EQ(CaptionButtonFrames(0, 0, false, 38, 10).frames, 3);
    EXPECT_EQ(CaptionButtonFrames(0, 0, false, 57, 15).frames, 3);
    EXPECT_EQ(CaptionButtonFrames(0, 0, false, 40, 10).frames, 6);
    EXPECT_EQ(CaptionButtonFrames(0, 0, false, 39, 10).frames, 6);
    EXPECT_EQ(CaptionButtonFrames(0, 0, true, 0, 0).frames, 6);
    EXPECT_EQ(CaptionButtonFrames(0, -1, false, 38, 10).frames, 6);
    // A frame value that is given stays, whatever the picture.
    EXPECT_EQ(CaptionButtonFrames(4, 0, false, 38, 10).frames, 4);
    EXPECT_EQ(CaptionButtonFrames(-2, 0, false, 38, 10).frames, -2);
    // The window-icon buttons drop their picture, but only when the count was left open.
    EXPECT_TRUE(CaptionButtonFrames(0, 3, false, 38, 10).dropPicture);
    EXPECT_TRUE(CaptionButtonFrames(0, 11, false, 60, 10).dropPicture);
    EXPECT_FALSE(CaptionButtonFrames(0, 12, false, 60, 10).dropPicture);
    EXPECT_FALSE(CaptionButtonFrames(2, 3, false, 38, 10).dropPicture);
}

TEST(SkinFrameRules, ToggleFramesFromThePictureSize) {
    EXPECT_EQ(DefaultToggleFrames(52, 13), 4);
    EXPECT_EQ(DefaultToggleFrames(48, 16), 4);  // 3 cells of 16, raised to the minimum
    EXPECT_EQ(DefaultToggleFrames(96, 16), 6);
    EXPECT_EQ(DefaultToggleFrames(78, 13), 6);
    EXPECT_EQ(DefaultToggleFrames(0, 0), 4);
}

TEST(SkinFrameRules, PictureValuesNameTheirEntry) {
    EXPECT_EQ(SkinPictureEntry("left.bmp"), "left.bmp");
    EXPECT_EQ(SkinPictureEntry("images\\left.bmp"), "left.bmp");
    EXPECT_EQ(SkinPictureEntry("c:\\skins\\blue/top.bmp"), "top.bmp");
    EXPECT_EQ(SkinPictureEntry("a.b.bmp"), "a.b.bmp");
    // The second byte of a double-byte character may be a backslash: no separator.
    EXPECT_EQ(SkinPictureEntry("skins\\\x81\x5C.bmp"), "\x81\x5C.bmp");
    for (const char* value : {"", "12", "left.BMP", "left.gif", "left.bmp.txt", "images\\", "bmp", "left.bmp "}) {
        EXPECT_EQ(SkinPictureEntry(value), "") << value;
    }
}

TEST(SkinFrameRules, CellOrientation) {
    EXPECT_TRUE(SkinCells::Stacked("Top"));
    EXPECT_TRUE(SkinCells::Stacked("HorzScrollThumb"));
    EXPECT_FALSE(SkinCells::Stacked("Left"));
    EXPECT_FALSE(SkinCells::Stacked("VertScroll"));
}

}  // namespace
