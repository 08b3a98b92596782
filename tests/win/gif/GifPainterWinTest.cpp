// Animated GIF pictures: painter threads, their pace, rounds, disposal, and stopping them when
// the picture goes away. Every wait here has a limit; every painter a test starts is stopped.
#include <algorithm>
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <vector>

#include "GifAnimationFixture.h"
#include "gif/show/GifPainter_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "toolkit/Canvas_win.h"

using namespace giftest;

namespace {

struct Painted {
    int frame;
    DWORD at;
};

// Records every frame a painter of the image paints, on the user-interface thread.
struct Recorder {
    std::vector<Painted> painted;
    bool ended = false;
    explicit Recorder(TGIFImage& image) {
        image.Display().OnPaint = [this](TGIFPainter* p) { painted.push_back({p->ActiveImage, timeGetTime()}); };
        image.Display().OnEndPaint = [this](TGIFPainter*) { ended = true; };
    }
};

TEST(GifPainterTiming, DelayUnitsAndSpeed) {
    EXPECT_EQ(TGIFPainter::NextDelay(0, true), 10);
    EXPECT_EQ(TGIFPainter::NextDelay(1, true), 3);
    EXPECT_EQ(TGIFPainter::NextDelay(2, true), 3);
    EXPECT_EQ(TGIFPainter::NextDelay(7, true), 7);
    EXPECT_EQ(TGIFPainter::NextDelay(5000, true), 5000);
    EXPECT_EQ(TGIFPainter::NextDelay(5000, false), 1000);
    EXPECT_EQ(TGIFPainter::WaitMilliseconds(3, 0, 100), 36);
    EXPECT_EQ(TGIFPainter::WaitMilliseconds(10, 0, 100), 120);
    EXPECT_EQ(TGIFPainter::WaitMilliseconds(10, 40, 100), 100);  // half the lateness is made up
    EXPECT_EQ(TGIFPainter::WaitMilliseconds(10, 0, 200), 60);
    EXPECT_EQ(TGIFPainter::WaitMilliseconds(10, 1000, 100), 0);
    EXPECT_EQ(TGIFPainter::WaitMilliseconds(100, 0, 0), 12000);
}

// A window that shows a GIF picture and repaints when the picture changes, as the preview does.
class GifWindow {
public:
    explicit GifWindow(TGIFImage& image) : image_(image) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TervaneGifTestWindow";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, wc.lpszClassName, "gif", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 120, 120,
                                  nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        image_.OnChange = [this](TGraphic*) { InvalidateRect(window_, nullptr, FALSE); };
    }
    ~GifWindow() {
        image_.OnChange = nullptr;
        DestroyWindow(window_);
    }
    int paints = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<GifWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_PAINT && self) {
            PAINTSTRUCT ps;
            BeginPaint(window, &ps);
            TCanvas canvas;
            canvas.SetHandle(ps.hdc);
            self->image_.Draw(canvas, RECT{0, 0, 64, 64});
            canvas.SetHandle(nullptr);
            EndPaint(window, &ps);
            ++self->paints;
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    TGIFImage& image_;
    HWND window_;
};

TEST(GifPainter, AnimatesInAWindowAtItsPaceAndStopsWhenReleased) {
    // Delays: 5 units (60 ms), none (10 units, 120 ms), 1 (raised to 3 units, 36 ms).
    auto image = MakeAnimation(8, 8, {{0, 5}, {1, -1}, {2, 1}, {3, 5, 0, 0}});
    image->Images[0].Extensions.Add(std::make_unique<TGIFAppExtNSLoop>(image.get(), &image->Images[0]));  // for ever
    Recorder recorder(*image);
    DWORD released;
    int paintsWhileShown;
    {
        GifWindow window(*image);
        Pump(50);
        ASSERT_TRUE(PumpUntil([&] { return recorder.painted.size() >= 9; }, 5000));
        paintsWhileShown = window.paints;
        EXPECT_GT(paintsWhileShown, 4) << "the window repaints as frames change";
        ASSERT_EQ(image->Display().painters.size(), 1u);
        EXPECT_TRUE(image->Display().painters[0]->Threaded());
    }
    // Frames follow each other at the pace of their delays; a late frame shortens the next wait
    // by half its lateness.
    int lateness = 0;
    for (size_t i = 1; i < recorder.painted.size(); ++i) {
        EXPECT_EQ(recorder.painted[i].frame, (recorder.painted[i - 1].frame + 1) % 4);
        const int previous = recorder.painted[i - 1].frame;
        const int expected = previous == 1 ? 120 : previous == 2 ? 36 : 60;
        const int took = static_cast<int>(recorder.painted[i].at - recorder.painted[i - 1].at);
        EXPECT_GE(took, expected - std::max(lateness, 0) / 2 - 8) << "after frame " << previous;
        EXPECT_LE(took, expected + 45) << "after frame " << previous;
        lateness = took - expected;
    }
    released = GetTickCount();
    image.reset();  // stops and waits for the painter (a paint already on its way may still land)
    EXPECT_LT(GetTickCount() - released, 2000u);
    const size_t before = recorder.painted.size();
    Pump(300);
    EXPECT_EQ(recorder.painted.size(), before) << "nothing paints after the picture is gone";
}

TEST(GifPainter, LoopCountThreePlaysThreeRoundsFromTheLoopFrame) {
    FrameLayout looping{1, 1};
    looping.loops = 3;
    auto image = MakeAnimation(4, 4, {{0, 1}, looping, {2, 1}});
    Recorder recorder(*image);
    TBitmap target;
    target.SetSize(4, 4);
    image->Draw(target.Canvas(), RECT{0, 0, 4, 4});
    ASSERT_TRUE(PumpUntil([&] { return recorder.ended; }, 5000));
    std::vector<int> frames;
    for (const auto& p : recorder.painted) frames.push_back(p.frame);
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 1, 2, 1, 2}));
    ASSERT_TRUE(PumpUntil([&] { return image->Display().painters.empty(); }, 2000));
}

TEST(GifPainter, ReservedDisposalPaintsNothing) {
    // Frame 0 restores to the background (so the painter keeps buffers); frame 1's reserved
    // disposal 5 must leave the red of frame 0 on screen, though a second control extension
    // of that frame says 1.
    FrameLayout reserved{1, 1, 5};
    reserved.laterDisposal = 1;
    auto image = MakeAnimation(4, 4, {{0, 1, 2}, reserved, {2, 1, 1}});
    std::vector<COLORREF> afterFrame;
    image->Display().OnAfterPaint = [&](TGIFPainter*) {
        afterFrame.push_back(PixelOf(*image->Display().pictureBitmap, 1, 1));
    };
    bool ended = false;
    image->Display().OnEndPaint = [&](TGIFPainter*) { ended = true; };
    TBitmap target;
    target.SetSize(4, 4);
    image->Draw(target.Canvas(), RECT{0, 0, 4, 4});
    ASSERT_TRUE(PumpUntil([&] { return ended; }, 5000));
    ASSERT_EQ(afterFrame.size(), 3u);
    EXPECT_EQ(afterFrame[0], RGB(255, 0, 0));
    EXPECT_EQ(afterFrame[1], RGB(255, 0, 0));
    EXPECT_EQ(afterFrame[2], RGB(0, 0, 255));
    ASSERT_TRUE(PumpUntil([&] { return image->Display().painters.empty(); }, 2000));
}

TEST(GifPainter, DrawingOntoABitmapWithoutAnimationGivesTheFirstFrame) {
    auto image = MakeAnimation(4, 4, {{2, 5}, {1, 5}});
    image->PaintFlags &= ~GifPaint::Animate;
    TBitmap target;
    target.SetSize(4, 4);
    image->Draw(target.Canvas(), RECT{0, 0, 4, 4});
    EXPECT_EQ(PixelOf(target, 2, 2), RGB(0, 0, 255));
    EXPECT_TRUE(image->Display().painters.empty());
}

}  // namespace
