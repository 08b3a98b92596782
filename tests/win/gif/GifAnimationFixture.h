#pragma once
// GIF pictures built frame by frame for the display tests, and a message pump that keeps the
// painters' cross-thread calls flowing while a test waits.
#include <windows.h>

#include <memory>
#include <vector>

#include "gif/show/GifPicture_win.h"

namespace giftest {

// Global colours: 0 red, 1 green, 2 blue, 3 white.
inline const TGIFColor kColors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

struct FrameLayout {
    int color = 0;          // global colour index filling the frame
    int delay = -1;         // -1: no graphic control extension
    int disposal = 0;
    int loops = -1;         // >= 0: a loop extension with this count
    int left = 0, top = 0, width = 0, height = 0;  // 0 x 0: the whole screen
    int laterDisposal = -1; // >= 0: a second graphic control extension, which must not count
};

std::unique_ptr<TGIFImage> MakeAnimation(int width, int height, const std::vector<FrameLayout>& frames);
// Serves messages and synchronised calls for ms milliseconds.
void Pump(int ms);
// Serves them until done() holds or ms pass; true when done() held.
template <typename Done>
bool PumpUntil(Done done, int ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (static_cast<int>(GetTickCount() - start) > ms) return false;
        Pump(5);
    }
    return true;
}
COLORREF PixelOf(TBitmap& bitmap, int x, int y);

}  // namespace giftest
