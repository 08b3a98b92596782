#include "toolkit/ScreenDevice_win.h"

#include <atomic>

#include "toolkit/GdiGuards_win.h"

namespace {

std::atomic<int> screenBits{0};  // 0: not asked yet

}  // namespace

int ScreenBitsPerPixel() {
    int bits = screenBits.load(std::memory_order_relaxed);
    if (bits > 0) return bits;
    TWindowDC screen;
    bits = screen ? GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES) : 0;
    screenBits.store(bits, std::memory_order_relaxed);
    return bits;
}

void ScreenDisplayChanged(int bitsPerPixel) {
    screenBits.store(bitsPerPixel > 0 ? bitsPerPixel : 0, std::memory_order_relaxed);
}

HBITMAP CreateScreenBitmap(int width, int height) {
    int bits = ScreenBitsPerPixel();
    // A palette display's bitmaps take the screen's palette: only the system makes those.
    if (bits <= 8) {
        TWindowDC screen;
        return CreateCompatibleBitmap(screen.Get(), width, height);
    }
    return CreateBitmap(width, height, 1, static_cast<UINT>(bits), nullptr);
}

HBITMAP CreateCompatibleBitmapFor(HDC dc, int width, int height) {
    if (GetObjectType(dc) == OBJ_DC && GetDeviceCaps(dc, TECHNOLOGY) == DT_RASDISPLAY)
        return CreateScreenBitmap(width, height);
    return CreateCompatibleBitmap(dc, width, height);
}

HDC MeasuringDC() {
    thread_local TMemoryDC measuring;
    return measuring.Get();
}
