#pragma once
// The display's device, asked about once (and again when the display changes). Each handle on the screen's device context and each
// question about its colour depth can be a round trip to the window server (under Wine it is,
// about a tenth of a millisecond each), and text is measured and bitmaps are made many times
// while the first window is built.
#include <windows.h>

// Bits per pixel of the display, read once and again after each change of the display.
int ScreenBitsPerPixel();
// The display changed to this depth (WM_DISPLAYCHANGE's word; 0 or less: ask the display): a
// remote session reconnected at 16 bits would otherwise get bitmaps of the old depth, which
// fail, and draw nothing.
void ScreenDisplayChanged(int bitsPerPixel);

// A bitmap in the display's format, as CreateCompatibleBitmap on the screen makes it.
HBITMAP CreateScreenBitmap(int width, int height);

// A bitmap compatible with this device context, as CreateCompatibleBitmap makes it: for a
// window's or the screen's context it is a screen bitmap, made without asking the display.
HBITMAP CreateCompatibleBitmapFor(HDC dc, int width, int height);

// A memory device context of the calling thread, compatible with the screen, for measuring
// text: the caller selects what it needs and puts back what it selected.
HDC MeasuringDC();
