// Graphic controls and drawing: the image control's sizing and destination, the bitmap
// button's transparent glyph, and clicks on graphic controls.
#include "ToolkitTestSupport.h"

#include "picture/Image_win.h"
#include "picture/Picture_win.h"
#include "picture/ico/Icon_win.h"
#include "toolkit/BitBtn_win.h"
#include "toolkit/GdiGuards_win.h"

namespace {

// An 8-bit glyph: a 4 x 4 blue square in the middle of a magenta field.
HBITMAP MakeGlyph() {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header = {sizeof(BITMAPINFOHEADER), 8, 8, 1, 8, BI_RGB, 0, 0, 0, 256, 0};
    info.colours[0] = {255, 0, 255, 0};  // magenta (BGR order)
    info.colours[1] = {255, 0, 0, 0};    // blue
    void* bits = nullptr;
    HBITMAP glyph = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* rows = static_cast<BYTE*>(bits);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) rows[y * 8 + x] = (x >= 2 && x < 6 && y >= 2 && y < 6) ? 1 : 0;
    return glyph;
}

}  // namespace

TEST_F(ToolkitTest, GlyphIsDrawnWithoutItsBottomLeftColour) {
    TWindowDC screen;
    TMemoryDC target(screen.Get());
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), 16, 16));
    TSelection selected(target.Get(), bitmap.Get());
    RECT all{0, 0, 16, 16};
    TBrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(target.Get(), &all, red.Get());
    TBitmapHandle glyph(MakeGlyph());
    DrawGlyphTransparent(target.Get(), 4, 4, glyph.Get(), 8, 8);
    EXPECT_EQ(GetPixel(target.Get(), 4, 4), RGB(255, 0, 0)) << "the magenta field stays out";
    EXPECT_EQ(GetPixel(target.Get(), 11, 11), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(target.Get(), 7, 7), RGB(0, 0, 255)) << "the square is drawn";
    EXPECT_EQ(GetPixel(target.Get(), 0, 0), RGB(255, 0, 0));
}

TEST_F(ToolkitTest, BitButtonPlacesItsGlyphAndCountsCells) {
    auto* button = new TBitBtn(form_);
    button->SetBounds(10, 10, 89, 41);
    button->SetCaption("保存");
    button->SetParent(form_);
    button->SetGlyph(MakeGlyph());
    EXPECT_EQ(button->GlyphSize().cx, 8);
    EXPECT_EQ(button->NumGlyphs(), 1);
    TWindowDC screen;
    TBitBtnPlacement at = button->Placement(screen.Get(), 89, 41);
    EXPECT_EQ(at.glyphY, 17);  // (41 - 8 + 1) / 2
    EXPECT_GT(at.textX, at.glyphX + 8) << "the caption follows the glyph and the spacing";
    EXPECT_EQ(at.textX - (at.glyphX + 8), 4);
}

TEST_F(ToolkitTest, ImageTakesTheIconSizeAndDrawsIt) {
    auto* image = new TImage(form_);
    image->SetBounds(104, 80, 73, 65);
    image->SetAutoSize(true);
    image->SetStretch(true);
    image->SetParent(form_);
    int clicks = 0;
    image->OnClick = [&](TObject*) { ++clicks; };
    image->Picture().Icon()->SetHandle(CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)));
    EXPECT_EQ(image->Width(), GetSystemMetrics(SM_CXICON)) << "auto-size takes the icon size";
    EXPECT_EQ(image->Height(), GetSystemMetrics(SM_CYICON));
    EXPECT_EQ(image->Left(), 104) << "the top-left corner stays";
    image->SetAutoSize(false);
    image->SetBounds(104, 80, 89, 89);
    RECT stretched = image->DestRect();
    EXPECT_EQ(stretched.right, 89);
    image->SetStretch(false);
    RECT natural = image->DestRect();
    EXPECT_EQ(natural.right, GetSystemMetrics(SM_CXICON));

    form_->Show();
    // A click on the image arrives at the form's window and goes to the image.
    POINT inside{110, 90};
    SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inside.x, inside.y));
    SendMessageA(form_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(inside.x, inside.y));
    EXPECT_EQ(clicks, 1);
    SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inside.x, inside.y));
    SendMessageA(form_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(250, 190));
    EXPECT_EQ(clicks, 1) << "released outside the image: no click";
    image->Picture().SetGraphic(nullptr);
    EXPECT_EQ(image->DestRect().right, 0);
}
