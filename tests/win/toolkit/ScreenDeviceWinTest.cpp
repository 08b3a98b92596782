// The display's device asked about once (and again after it changes): bitmaps in its format, text measured off screen as on
// it, and objects attached to windows found again after handle reuse.
#include "ToolkitTestSupport.h"

#include <thread>

#include "toolkit/GdiGuards_win.h"
#include "toolkit/ScreenDevice_win.h"
#include "toolkit/WindowObjects_win.h"

TEST(ScreenDeviceTest, BitmapsAndMeasurementsMatchTheScreensOwn) {
    TWindowDC screen;
    EXPECT_EQ(ScreenBitsPerPixel(), GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES));
    TBitmapHandle made(CreateScreenBitmap(13, 7)), compatible(CreateCompatibleBitmap(screen.Get(), 13, 7));
    BITMAP ours{}, theirs{};
    ASSERT_TRUE(GetObjectW(made.Get(), sizeof ours, &ours));
    ASSERT_TRUE(GetObjectW(compatible.Get(), sizeof theirs, &theirs));
    EXPECT_EQ(ours.bmWidth, 13);
    EXPECT_EQ(ours.bmHeight, 7);
    EXPECT_EQ(ours.bmBitsPixel, theirs.bmBitsPixel);
    TMemoryDC dc(nullptr, made.Get());
    SetPixel(dc.Get(), 12, 6, RGB(10, 200, 30));
    EXPECT_EQ(GetPixel(dc.Get(), 12, 6), RGB(10, 200, 30)) << "drawable as a screen bitmap";

    const wchar_t* text = L"Quorlin图片处理Tervane";
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    auto measure = [&](HDC on) {
        TSelection selected(on, font);
        RECT rect{0, 0, 0, 0};
        DrawTextW(on, text, -1, &rect, DT_CALCRECT | DT_SINGLELINE);
        return rect;
    };
    RECT offScreen = measure(MeasuringDC()), onScreen = measure(screen.Get());
    EXPECT_TRUE(EqualRect(&offScreen, &onScreen));
    EXPECT_EQ(GetCurrentObject(MeasuringDC(), OBJ_FONT), GetStockObject(SYSTEM_FONT)) << "the font was put back";
    HDC otherThreads = nullptr;
    std::thread([&] { otherThreads = MeasuringDC(); }).join();
    EXPECT_NE(otherThreads, MeasuringDC()) << "each thread measures on its own";
}

// A display that changes depth (a remote session reconnected at 16 bits) is followed: bitmaps
// take the new depth, and the display is asked again when the message brings none.
TEST_F(ToolkitTest, BitmapsFollowTheDisplaysDepthAfterItChanges) {
    TWindowDC screen;
    const int actual = GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES);
    auto bitmapBits = [] {
        TBitmapHandle made(CreateScreenBitmap(4, 4));
        BITMAP description{};
        GetObjectW(made.Get(), sizeof description, &description);
        return static_cast<int>(description.bmBitsPixel);
    };
    EXPECT_EQ(ScreenBitsPerPixel(), actual);
    for (int depth : {16, 0}) {
        SendMessageW(app_->Handle(), WM_DISPLAYCHANGE, static_cast<WPARAM>(depth), MAKELPARAM(1024, 768));
        const int expected = depth ? depth : actual;
        EXPECT_EQ(ScreenBitsPerPixel(), expected) << "after a change to " << depth;
        EXPECT_EQ(bitmapBits(), expected) << "after a change to " << depth;
    }
}

TEST(WindowObjectsTest, FoundByWindowKeptAsPropertyAndForgottenWithTheWindow) {
    TWindowObjects<int> table(L"TervaneTestObject");
    int first = 1, second = 2;
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    table.Attach(window, &first);
    EXPECT_EQ(table.Find(window), &first);
    EXPECT_EQ(GetPropW(window, L"TervaneTestObject"), &first);
    table.Attach(window, &second);
    EXPECT_EQ(table.Find(window), &second);
    DestroyWindow(window);
    table.Detach(window);
    EXPECT_EQ(table.Find(window), nullptr) << "a later window with the same handle finds nothing";
}
