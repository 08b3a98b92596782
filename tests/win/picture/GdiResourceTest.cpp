// Every GDI object the picture classes make is released: a loop of the program's usual
// operations leaves the process's GDI object count where it was.
#include <gtest/gtest.h>

#include <vector>

#include "PictureTestSupport.h"
#include "picture/Picture_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/ico/Icon_win.h"
#include "support/GdiRoom_win.h"
#include "toolkit/Canvas_win.h"

namespace {

void UsualOperations() {
    TPicture picture;
    picture.LoadFromFile(FixturePath("rle8.bmp"));
    TBitmap target;
    target.SetSize(40, 40);
    target.Canvas().Font().SetHeight(-12);
    target.Canvas().TextOut(1, 1, "图片");
    target.Canvas().StretchDraw(MakeRect(0, 0, 40, 40), picture.Graphic());
    TBitmap copy;
    copy.Assign(&target);
    copy.Canvas().Brush().SetColor(RGB(250, 249, 248));
    copy.Canvas().BrushCopy(MakeRect(0, 0, 40, 40), target.Canvas(), MakeRect(0, 0, 40, 40), clBlack);
    copy.SetTransparentColor(clWhite);
    copy.SetTransparent(true);
    target.Canvas().Draw(0, 0, &copy);
    copy.SetMonochrome(true);
    copy.SetPixelFormat(pf8bit);
    target.SetSize(20, 20);
    TIcon icon;
    TMemoryStream stream(BuildIconFile({{16, 16, 8, 0, RGB(1, 2, 3)}, {32, 32, 24, 0, RGB(4, 5, 6)}}));
    icon.LoadFromStream(stream);
    target.Canvas().Draw(0, 0, &icon);
    TMemoryStream out;
    target.SaveToStream(out);
    icon.SaveToStream(out);
}

}  // namespace

TEST(GdiResourceTest, UsualOperationsLeaveNoGdiObjectsBehind) {
    UsualOperations();  // first use makes the lasting objects (stock fonts, caches)
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (before != 0) {
        for (int i = 0; i < 20; ++i) UsualOperations();
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
        return;
    }
    // Without a count from the system, measure the room left in its GDI handle table.
    size_t room = GdiRoom();
    for (int i = 0; i < 20; ++i) UsualOperations();
    EXPECT_EQ(GdiRoom(), room);
}
