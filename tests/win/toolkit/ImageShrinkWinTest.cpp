// A big still picture in a small stretched image: shrunk once and then drawn as kept, looking
// exactly as stretching it at every paint does; a new picture or a new size is shrunk anew,
// and pictures that are cheap to draw or drawn through a mask are drawn at every paint.
#include "ToolkitTestSupport.h"

#include <cstdint>
#include <memory>
#include <vector>

#include "picture/Image_win.h"
#include "picture/Picture_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "toolkit/Canvas_win.h"

namespace {

// A bitmap that counts how often it is really drawn, anywhere.
class TCountingBitmap : public TBitmap {
public:
    TERVANE_GRAPHIC_CLASS(TCountingBitmap)
    void Draw(TCanvas& canvas, const RECT& rect) override {
        ++draws;
        TBitmap::Draw(canvas, rect);
    }
    static int draws;
};
int TCountingBitmap::draws = 0;
TERVANE_DEFINE_GRAPHIC_CLASS(TCountingBitmap, TBitmap)

// A 24-bit picture in which every row and column differs, so a wrong choice of dropped rows
// or columns shows.
std::unique_ptr<TCountingBitmap> Pattern(int width, int height, int seed) {
    auto bitmap = std::make_unique<TCountingBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y));
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uint8_t>(x * 7 + seed);
            row[3 * x + 1] = static_cast<uint8_t>(y * 5 + seed);
            row[3 * x + 2] = static_cast<uint8_t>((x ^ y) + seed);
        }
    }
    return bitmap;
}

std::vector<uint8_t> PixelsOf(TBitmap& bitmap) {
    bitmap.SetPixelFormat(pf24bit);
    std::vector<uint8_t> pixels;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
        pixels.insert(pixels.end(), row, row + 3 * bitmap.Width());
    }
    return pixels;
}

// What the image shows, painted onto a bitmap of the display's depth as a window would be.
std::vector<uint8_t> Painted(TImage& image) {
    TBitmap target;
    target.SetSize(image.Width(), image.Height());
    image.Paint(target.Canvas());
    return PixelsOf(target);
}

// The graphic stretched straight onto such a bitmap.
std::vector<uint8_t> Stretched(TGraphic& graphic, int width, int height) {
    TBitmap target;
    target.SetSize(width, height);
    target.Canvas().StretchDraw(RECT{0, 0, width, height}, &graphic);
    return PixelsOf(target);
}

// An 89 x 89 image on the form stretching a copy of the graphic.
TImage* PreviewOf(TForm* form, TGraphic& graphic) {
    auto* image = new TImage(form);
    image->SetBounds(0, 0, 89, 89);
    image->SetStretch(true);
    image->Picture().SetGraphic(&graphic);
    return image;
}

}  // namespace

TEST_F(ToolkitTest, BigPictureIsShrunkOnceAndLooksAsStretchedAtEveryPaint) {
    auto photo = Pattern(1200, 900, 0);
    TImage* image = PreviewOf(form_, *photo);
    const std::vector<uint8_t> expected = Stretched(*photo, 89, 89);
    TCountingBitmap::draws = 0;
    EXPECT_EQ(Painted(*image), expected);
    EXPECT_EQ(Painted(*image), expected);
    EXPECT_EQ(Painted(*image), expected);
    EXPECT_EQ(TCountingBitmap::draws, 1) << "shrunk once, then drawn as kept";

    auto other = Pattern(1200, 900, 99);
    image->Picture().SetGraphic(other.get());
    const std::vector<uint8_t> expectedOther = Stretched(*other, 89, 89);
    TCountingBitmap::draws = 0;
    EXPECT_EQ(Painted(*image), expectedOther) << "a new picture is shown, not the one kept";
    EXPECT_EQ(Painted(*image), expectedOther);
    EXPECT_EQ(TCountingBitmap::draws, 1);

    image->SetBounds(0, 0, 60, 40);
    EXPECT_EQ(Painted(*image), Stretched(*other, 60, 40)) << "a new size is shrunk anew";

    // Drawn on the picture's canvas, the picture changes and the image follows.
    image->Picture().Bitmap()->Canvas().FillRect(RECT{0, 0, 1200, 900});
    EXPECT_EQ(Painted(*image), Stretched(*image->Picture().Graphic(), 60, 40));
    EXPECT_NE(Painted(*image), Stretched(*other, 60, 40));
}

TEST_F(ToolkitTest, SmallAndMaskedPicturesAreDrawnAtEveryPaint) {
    auto small = Pattern(40, 30, 5);
    TImage* image = PreviewOf(form_, *small);
    const std::vector<uint8_t> expected = Stretched(*small, 89, 89);
    TCountingBitmap::draws = 0;
    EXPECT_EQ(Painted(*image), expected);
    EXPECT_EQ(Painted(*image), expected);
    EXPECT_EQ(TCountingBitmap::draws, 2) << "enlarged: nothing to gain from keeping it";

    auto big = Pattern(400, 300, 7);
    image->Picture().SetGraphic(big.get());
    image->SetTransparent(true);
    TCountingBitmap::draws = 0;
    Painted(*image);
    Painted(*image);
    EXPECT_EQ(TCountingBitmap::draws, 2) << "drawn through its mask onto what lies below";

    image->SetTransparent(false);
    image->SetStretch(false);
    TCountingBitmap::draws = 0;
    Painted(*image);
    Painted(*image);
    EXPECT_EQ(TCountingBitmap::draws, 2) << "at its own size: no shrinking at all";
}
