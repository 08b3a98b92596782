// Icons made from pictures: the bottom-left pixel's colour is the transparent one, and what
// the icon shows, as drawn by the system, written to a file and read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "IcoTestFile.h"
#include "TestIcons.h"
#include "icowriter/IconWriter_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/ico/Icon_win.h"
#include "toolkit/Canvas_win.h"

namespace {

constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF, kLime = 0x00FF00;
constexpr uint32_t kSubstitute = 0xFAF9F8;  // red 250, green 249, blue 248

std::unique_ptr<TBitmap> BitmapOf(int width, int height, const TPixelRule& rule) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap->Canvas().SetPixel(x, y, ToColorRef(rule(x, y)));
    return bitmap;
}

// What the icon made from a `width` x `height` picture drawn by `rule` must show: the picture
// on white, cut to the icon size; pixels of the key colour transparent, and, when the key is
// the substitute colour, black ones too; remaining substitute-coloured pixels black.
TIconPicture ExpectedIcon(int width, int height, const TPixelRule& rule) {
    const int side = GetSystemMetrics(SM_CXICON);
    auto source = [&](int x, int y) { return x < width && y < height ? rule(x, y) : kWhite; };
    const uint32_t key = source(0, side - 1);
    return MakePicture(side, side, [&](int x, int y) -> uint32_t {
        uint32_t colour = source(x, y);
        if (colour == key || (key == kSubstitute && colour == kBlack)) return kClear;
        return colour == kSubstitute ? kBlack : colour;
    });
}

class IconFromBitmapTest : public ::testing::Test {
protected:
    // Builds the icon, checks what it shows, writes it in both modes, checks the files as
    // read by their own bytes, by the icon class and (later) by ImageMagick.
    void Check(const std::string& name, int width, int height, const TPixelRule& rule) {
        std::unique_ptr<TBitmap> source = BitmapOf(width, height, rule);
        TIconPicture expected = ExpectedIcon(width, height, rule);
        std::unique_ptr<TIcon> icon = writer_.IconFromBitmap(*source);
        ASSERT_TRUE(icon && icon->Handle());
        EXPECT_TRUE(SamePicture(RenderIcon(icon->Handle(), expected.width, expected.height), expected, 0));
        EXPECT_TRUE(SamePicture(BitmapPixels(*BitmapOf(width, height, rule)), BitmapPixels(*source), 0))
            << "the source bitmap was changed";

        std::string stem = OutputFolder() + "/" + name;
        writer_.SaveBitmapAs256ColorIcon(*source, stem + "-256.ico");
        writer_.SaveBitmapAsTrueColorIcon(*source, stem + "-true.ico");
        CheckFile(name + "-256", expected, 0);
        CheckFile(name + "-true", expected, 8);
    }

    static TIconPicture BitmapPixels(TBitmap& bitmap) {
        return MakePicture(bitmap.Width(), bitmap.Height(),
                           [&](int x, int y) { return FromColorRef(ColorToRGB(bitmap.Canvas().Pixel(x, y))); });
    }

    static void CheckFile(const std::string& name, const TIconPicture& expected, int tolerance) {
        std::vector<uint8_t> bytes = ReadFileBytes(OutputFolder() + "/" + name + ".ico");
        TIcoTestFile file(bytes);
        TIconPicture stored = PictureOf(file);
        EXPECT_TRUE(SamePicture(stored, expected, tolerance)) << name;
        for (size_t i = 0; i < stored.rgb.size(); ++i)
            if (stored.transparent[i]) ASSERT_EQ(stored.rgb[i], 0u) << name << ": transparent pixels are black";

        TIcon loaded;
        loaded.LoadFromFile(OutputFolder() + "/" + name + ".ico");
        EXPECT_TRUE(SamePicture(RenderIcon(loaded.Handle(), expected.width, expected.height), expected, tolerance))
            << name << " read back by the icon class";
        ExportForImageMagick(OutputFolder(), name, file, expected, tolerance);
    }

    TIconWriter writer_{nullptr};
};

}  // namespace

TEST_F(IconFromBitmapTest, BlackKeyMakesEveryBlackPixelTransparent) {
    Check("black-key", 32, 32, [](int x, int y) {
        if (x >= 4 && x < 28 && y >= 4 && y < 12) return kRed;
        if (x >= 10 && x < 20 && y >= 16 && y < 26) return kWhite;
        return kBlack;
    });
}

TEST_F(IconFromBitmapTest, WhiteKeyKeepsBlackLinesOpaque) {
    Check("white-key", 32, 32, [](int x, int y) {
        if (x == 8 || y == 20 || x == y) return kBlack;
        if (x > 20 && y < 10) return kBlue;
        return kWhite;
    });
}

TEST_F(IconFromBitmapTest, SubstituteColouredPixelsComeOutOpaqueBlack) {
    // White key: the substitute colour and black both stay, as opaque black.
    Check("substitute", 32, 32, [](int x, int y) {
        if (y < 8) return kSubstitute;
        if (y >= 28) return kWhite;
        if (x < 4) return kBlack;
        return x < 16 ? kLime : kWhite;
    });
    // Black key: black goes, the substitute colour still turns black.
    Check("substitute-black-key", 32, 32, [](int x, int y) {
        if (y < 8) return kSubstitute;
        return x < 4 ? kBlack : kLime;
    });
}

TEST_F(IconFromBitmapTest, SubstituteKeyMakesItAndBlackTransparent) {
    Check("substitute-key", 32, 32, [](int x, int y) {
        if (x < 10) return kSubstitute;
        if (y < 10) return kBlack;
        return kRed;
    });
}

TEST_F(IconFromBitmapTest, SmallPictureGetsAWhiteKeyFromTheMargin) {
    // 20 x 20: the bottom-left icon pixel lies in the white margin, so white is the key.
    Check("small", 20, 20, [](int x, int y) {
        if (x < 2 || y == 19) return kBlack;
        if ((x + y) % 5 == 0) return kWhite;
        return kRed;
    });
}

TEST_F(IconFromBitmapTest, LargePictureIsCutAndKeyedOnItsOwnPixel) {
    // 48 x 40: the icon shows the top-left 32 x 32, keyed on the picture's pixel (0, 31).
    Check("large", 48, 40, [](int x, int y) {
        if (y >= 24 && y < 36) return kBlue;
        return x < 24 ? kRed : kLime;
    });
}
