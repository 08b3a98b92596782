#include <gtest/gtest.h>

#include "GifTestSupport.h"
#include "base/Exceptions.h"
#include "gif/show/GifFrameRender.h"

namespace {

TEST(GifFrameRender, DitherFlagsFollowTheScreenWhenAsked) {
    EXPECT_FALSE(GifDitherInEffect(0x000F, false));
    EXPECT_TRUE(GifDitherInEffect(0x0200, false));
    EXPECT_FALSE(GifDitherInEffect(0x0600, false));  // default flags on a true-colour screen
    EXPECT_TRUE(GifDitherInEffect(0x0600, true));
    EXPECT_FALSE(GifDitherInEffect(0x0400, true));
}

TEST(GifFrameRender, ColoursComeFromTheFrameTheGlobalMapOrTheFirstFrame) {
    TGIFImageModel image;
    TGIFSubImage& first = AddFrame(image, 2, 1, GreyRamp(4), {0, 3});
    TGIFSubImage& second = AddFrame(image, 2, 1, {}, {1, 2});
    EXPECT_EQ(&GifDisplayColors(image, second), &first.ColorMap);
    const auto global = GreyRamp(2);
    image.Header.ColorMap.Assign(global.data(), 2);
    EXPECT_EQ(&GifDisplayColors(image, second), &image.Header.ColorMap);
    EXPECT_EQ(&GifDisplayColors(image, first), &first.ColorMap);

    TGifRenderedFrame plain = RenderGifFrame(image, second, false);
    EXPECT_EQ(plain.colors.size(), 2u);
    EXPECT_EQ(plain.indices, (std::vector<uint8_t>{1, 2}));

    // No colours anywhere: the first frame cannot lend its own missing table to itself.
    TGIFImageModel bare;
    TGIFSubImage& alone = AddFrame(bare, 1, 1, {}, {0});
    EXPECT_THROW(RenderGifFrame(bare, alone, false), GIFException);
    try {
        GifDisplayColors(bare, alone);
    } catch (const GIFException& e) {
        EXPECT_EQ(e.Message(), "No global or local color table defined");
    }
}

TEST(GifFrameRender, DitheringSpreadsMidGreyOverTwoWebColours) {
    TGIFImageModel image;
    const std::vector<TGIFColor> grey{{128, 128, 128}};
    TGIFSubImage& frame = AddFrame(image, 20, 20, grey, std::vector<uint8_t>(400, 0));
    TGifRenderedFrame dithered = RenderGifFrame(image, frame, true);
    ASSERT_EQ(dithered.colors.size(), 216u);
    int dark = 0, light = 0;
    for (uint8_t index : dithered.indices) {
        dark += index == 86;
        light += index == 129;
    }
    EXPECT_EQ(dark + light, 400);
    EXPECT_GT(dark, 150);
    EXPECT_GT(light, 150);
    EXPECT_EQ(dithered.colors[86], (TGIFColor{102, 102, 102}));
}

TEST(GifFrameRender, MaskMarksTheTransparentIndexMostSignificantBitFirst) {
    TGIFImageModel image;
    std::vector<uint8_t> pixels(19 * 2, 1);
    pixels[0] = 3, pixels[9] = 3, pixels[19 + 18] = 3;
    TGIFSubImage& frame = AddFrame(image, 19, 2, GreyRamp(4), pixels);
    TGifRenderedFrame none = RenderGifFrame(image, frame, false);
    EXPECT_TRUE(none.mask.empty());  // not transparent

    auto control = std::make_unique<TGIFGraphicControlExtension>(&image, &frame);
    control->SetTransparent(true);
    control->TransparentColorIndex = 3;
    frame.GraphicControlExtension = control.get();
    frame.Extensions.Add(std::move(control));
    frame.Transparent = true;
    TGifRenderedFrame masked = RenderGifFrame(image, frame, false);
    EXPECT_EQ(masked.maskStride, 4);  // 19 bits padded to 32
    ASSERT_EQ(masked.mask.size(), 8u);
    EXPECT_EQ(masked.mask, (std::vector<uint8_t>{0x80, 0x40, 0, 0, 0, 0, 0x20, 0}));

    frame.GraphicControlExtension->TransparentColorIndex = 2;  // no pixel has it
    EXPECT_TRUE(RenderGifFrame(image, frame, false).mask.empty());
}

}  // namespace
