#pragma once
// Playing an animated GIF: a painter shows frame after frame on a canvas, normally from a
// thread of its own that only waits and computes timings, handing every paint and every
// hook call to the user-interface thread. Without the thread flag it plays inside the
// drawing call, serving the thread's messages while it waits.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "toolkit/Thread_win.h"

class TBitmap;
class TCanvas;
class TGIFImage;
class TGIFSubImage;

class TGIFPainter : public TThread {
public:
    static constexpr int DelayUnitMs = 12;  // one stored delay unit
    static constexpr int DefaultDelay = 10; // units, for a frame without a delay
    static constexpr int MinimumDelay = 3;  // units
    static constexpr int InlineMaximumDelay = 1000;

    // Created suspended; Start() runs it (threaded) or plays it at once (inline).
    TGIFPainter(TGIFImage& image, TCanvas& canvas, const RECT& rect, uint32_t flags);
    ~TGIFPainter() override;

    void Start();
    // Marks the painter terminated and wakes it.
    void Stop();
    void RequestRestart();

    TCanvas& Canvas() const { return canvas_; }
    const RECT& Rect() const { return rect_; }
    bool Threaded() const { return threaded_; }
    int ActiveImage = -1;
    bool Started() const { return started_; }

    // The wait in milliseconds before a frame with the given delay (units), given how late
    // the previous frame was; 12000 on overflow.
    static int WaitMilliseconds(int delayUnits, int64_t latenessMs, int speed);
    // The delay (units) that follows a frame: 10 without one, at least 3, inline at most 1000.
    static int NextDelay(int storedDelay, bool threaded);

protected:
    void Execute() override;

private:
    void Loop();
    void Round(int& loopsLeft, int& loopStart, bool& firstPainting);
    void WaitBeforeFrame(int delayUnits);
    bool Sleep(int ms);
    void PaintFrame(int index);
    void ComposeFrame(TGIFSubImage& frame, int disposal);
    void RestoreBackground(TBitmap& buffer, TGIFSubImage& frame);
    void Call(void (TGIFPainter::*method)());
    void FireHook(int which);
    void PrepareBuffers();
    void Finish();

    TGIFImage& image_;
    TCanvas& canvas_;
    RECT rect_;
    uint32_t flags_;
    bool threaded_;
    int speed_;
    std::atomic<bool> started_{false};
    std::atomic<bool> restart_{false};
    int disposal_ = 1, previousDisposal_ = 1;
    int nextDelay_ = 0;
    DWORD previousFrameTime_ = 0;
    int previousWait_ = 0;
    HDC targetDc_ = nullptr;
    HANDLE event_ = nullptr;
    COLORREF background_ = 0;
    std::unique_ptr<TBitmap> backup_, frameBuffer_, backgroundBitmap_;
};

// The picture's painters: stop them all and wait (serving cross-thread calls meanwhile).
void StopGifPainters(TGIFImage& image);
// Stops one painter and waits until it has left the picture's list.
void StopGifPainter(TGIFImage& image, TGIFPainter* painter);
