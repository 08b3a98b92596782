#include "GifAnimationFixture.h"

#include "picture/bmp/Bitmap_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/Thread_win.h"

namespace giftest {

std::unique_ptr<TGIFImage> MakeAnimation(int width, int height, const std::vector<FrameLayout>& frames) {
    auto image = std::make_unique<TGIFImage>();
    image->Header.ColorMap.Assign(kColors, 4);
    image->Header.Descriptor.ScreenWidth = static_cast<uint16_t>(width);
    image->Header.Descriptor.ScreenHeight = static_cast<uint16_t>(height);
    for (const FrameLayout& kind : frames) {
        auto frame = std::make_unique<TGIFSubImage>(image.get());
        const int w = kind.width ? kind.width : width, h = kind.height ? kind.height : height;
        frame->SetBounds(kind.left, kind.top, w, h);
        frame->Data.assign(static_cast<size_t>(w) * h, static_cast<uint8_t>(kind.color));
        if (kind.loops >= 0) {
            auto loop = std::make_unique<TGIFAppExtNSLoop>(image.get(), frame.get());
            loop->Loops = static_cast<uint16_t>(kind.loops);
            frame->Extensions.Add(std::move(loop));
        }
        if (kind.delay >= 0) {
            auto control = std::make_unique<TGIFGraphicControlExtension>(image.get(), frame.get());
            control->Delay = static_cast<uint16_t>(kind.delay);
            control->SetDisposal(kind.disposal);
            frame->GraphicControlExtension = control.get();
            frame->Extensions.Add(std::move(control));
        }
        if (kind.laterDisposal >= 0) {
            auto later = std::make_unique<TGIFGraphicControlExtension>(image.get(), frame.get());
            later->SetDisposal(kind.laterDisposal);
            frame->Extensions.Add(std::move(later));
        }
        image->Images.Add(std::move(frame));
    }
    return image;
}

void Pump(int ms) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        CheckSynchronize();
        Sleep(1);
    } while (static_cast<int>(GetTickCount() - start) < ms);
}

COLORREF PixelOf(TBitmap& bitmap, int x, int y) { return GetPixel(bitmap.Canvas().Handle(), x, y); }

}  // namespace giftest
