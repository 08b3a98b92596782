#include "toolkit/ScreenDevice_win.h"

#include "toolkit/GdiGuards_win.h"

int ScreenBitsPerPixel() {
    static const int bits = [] {
        TWindowDC screen;
        return screen ? GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES) : 0;
    }();
    return bits;
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
