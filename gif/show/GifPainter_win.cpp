#include "gif/show/GifPainter_win.h"

#include <algorithm>
#include <climits>

#include "gif/show/GifFrameDrawing_win.h"
#include "gif/show/GifPicture_win.h"
#include "gif/show/GifRenderer_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/LateBoundLibraries_win.h"

namespace {

enum Hook { StartHook, PaintHook, AfterPaintHook, LoopHook, EndHook };

int SystemPriority(TGIFPainterPriority priority) {
    switch (priority) {
        case TGIFPainterPriority::Idle: return THREAD_PRIORITY_IDLE;
        case TGIFPainterPriority::Lowest: return THREAD_PRIORITY_LOWEST;
        case TGIFPainterPriority::Lower: return THREAD_PRIORITY_BELOW_NORMAL;
        case TGIFPainterPriority::Higher: return THREAD_PRIORITY_ABOVE_NORMAL;
        case TGIFPainterPriority::Highest: return THREAD_PRIORITY_HIGHEST;
        case TGIFPainterPriority::TimeCritical: return THREAD_PRIORITY_TIME_CRITICAL;
        default: return THREAD_PRIORITY_NORMAL;
    }
}

COLORREF BackgroundColor(const TGIFImage& image) {
    if (image.BackgroundColor != TGIFImageModel::BackgroundColorUnset) return image.BackgroundColor & 0xFFFFFF;
    const TGIFColorMap& global = image.Header.ColorMap;
    if (global.Empty()) return GetSysColor(COLOR_WINDOW);
    const int index = std::min<int>(image.Header.Descriptor.BackgroundColorIndex, global.Count() - 1);
    return RGB(global[index].Red, global[index].Green, global[index].Blue);
}

// A bitmap of the rectangle's size holding what the canvas shows there.
std::unique_ptr<TBitmap> CopyOfArea(TCanvas& canvas, const RECT& rect, COLORREF brush) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(rect.right - rect.left, rect.bottom - rect.top);
    bitmap->Canvas().Brush().SetColor(brush);
    BitBlt(bitmap->Canvas().Handle(), 0, 0, bitmap->Width(), bitmap->Height(), canvas.Handle(), rect.left, rect.top,
           SRCCOPY);
    return bitmap;
}

void Copy(HDC to, const RECT& toRect, TBitmap& from) {
    BitBlt(to, toRect.left, toRect.top, toRect.right - toRect.left, toRect.bottom - toRect.top,
           from.Canvas().Handle(), 0, 0, SRCCOPY);
}

}  // namespace

TGIFPainter::TGIFPainter(TGIFImage& image, TCanvas& canvas, const RECT& rect, uint32_t flags)
    : TThread(true), image_(image), canvas_(canvas), rect_(rect), flags_(flags) {
    if (image.Images.Count() <= 1) flags_ &= ~(GifPaint::OwnThread | GifPaint::Animate);
    threaded_ = (flags_ & GifPaint::OwnThread) != 0;
    speed_ = image.PlaybackSpeed;
    if (threaded_) SetPriority(SystemPriority(image.PainterPriority));
    if (threaded_ && (flags_ & GifPaint::Animate) && image.Images.Count() > 1 && speed_ >= 0)
        event_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    background_ = BackgroundColor(image);
    PrepareBuffers();
    FreeOnTerminate = threaded_;
}

TGIFPainter::~TGIFPainter() {
    if (event_) CloseHandle(event_);
}

void TGIFPainter::PrepareBuffers() {
    bool restoreBackground = (flags_ & GifPaint::ClearOnLoop) != 0, restorePrevious = false;
    for (const auto& frame : image_.Images)
        if (const TGIFGraphicControlExtension* control = frame->GraphicControlExtension) {
            restoreBackground = restoreBackground || control->Disposal() == 2;
            restorePrevious = restorePrevious || control->Disposal() == 3;
        }
    if (restoreBackground && (flags_ & GifPaint::Transparent))
        backgroundBitmap_ = CopyOfArea(canvas_, rect_, background_);
    if (restoreBackground || restorePrevious) {
        backup_ = CopyOfArea(canvas_, rect_, background_);
        frameBuffer_ = std::make_unique<TBitmap>();
        frameBuffer_->SetSize(backup_->Width(), backup_->Height());
        frameBuffer_->Canvas().Brush().SetColor(background_);
    }
}

void TGIFPainter::Start() {
    if (threaded_) {
        Resume();
        return;
    }
    std::exception_ptr error;
    try {
        Loop();
    } catch (...) {
        error = std::current_exception();
    }
    Finish();
    if (error) std::rethrow_exception(error);  // inside the drawing call, in that call
}

void TGIFPainter::Stop() {
    Terminate();
    if (!threaded_) return;
    if (event_) SetEvent(event_);
    SetPriority(THREAD_PRIORITY_NORMAL);
    Resume();
}

void TGIFPainter::RequestRestart() {
    restart_ = true;
    if (event_) SetEvent(event_);
}

void TGIFPainter::Execute() {
    try {
        Loop();
    } catch (...) {
        Terminate();
        FatalException = std::current_exception();
    }
    Finish();
}

void TGIFPainter::Call(void (TGIFPainter::*method)()) {
    Synchronize([this, method] { (this->*method)(); });
}

void TGIFPainter::FireHook(int which) {
    Synchronize([this, which] {
        TGIFDisplayState& state = image_.Display();
        const TGIFPainterNotify* hooks[] = {&state.OnStartPaint, &state.OnPaint, &state.OnAfterPaint, &state.OnLoop,
                                            &state.OnEndPaint};
        if (*hooks[which]) (*hooks[which])(this);
    });
}

int TGIFPainter::WaitMilliseconds(int delayUnits, int64_t latenessMs, int speed) {
    if (speed <= 0) return 12000;
    const int64_t ms = (static_cast<int64_t>(delayUnits) * DelayUnitMs - latenessMs / 2) * 100 / speed;
    if (ms > INT_MAX || ms < INT_MIN) return 12000;
    return static_cast<int>(std::max<int64_t>(ms, 0));
}

int TGIFPainter::NextDelay(int storedDelay, bool threaded) {
    int delay = storedDelay == 0 ? DefaultDelay : std::max(storedDelay, MinimumDelay);
    return threaded ? delay : std::min(delay, InlineMaximumDelay);
}

void TGIFPainter::Loop() {
    if (flags_ & GifPaint::ValidateCanvas) Synchronize([this] { targetDc_ = canvas_.Handle(); });
    do {
        ActiveImage = 0;
        FireHook(StartHook);
        started_ = false;
        restart_ = false;
        int loopsLeft = 1, loopStart = 0;
        bool firstPainting = true;
        previousDisposal_ = 1;
        nextDelay_ = threaded_ ? 0 : 1;
        previousFrameTime_ = 0;
        while (!Terminated() && !restart_) {
            Round(loopsLeft, loopStart, firstPainting);
            if (loopsLeft > 0) --loopsLeft;
            const bool looping = (flags_ & GifPaint::Animate) && (flags_ & GifPaint::Loop);
            if (!looping || (loopsLeft <= 0 && !(flags_ & GifPaint::LoopForever) && loopsLeft != -1)) break;
        }
    } while (restart_ && !Terminated());
    ActiveImage = -1;
    FireHook(EndHook);
}

// One pass over the frames from the loop start. loopsLeft -1 stands for ever.
void TGIFPainter::Round(int& loopsLeft, int& loopStart, bool& firstPainting) {
    ActiveImage = loopStart;
    if (started_) FireHook(LoopHook);
    while (ActiveImage >= 0 && ActiveImage < image_.Images.Count() && !Terminated() && !restart_) {
        TGIFSubImage& frame = image_.Images[ActiveImage];
        if (frame.Empty()) break;
        WaitBeforeFrame(nextDelay_);
        if (Terminated() || restart_) break;
        FireHook(PaintHook);
        disposal_ = frame.Disposal();
        for (const auto& extension : frame.Extensions) {
            if (auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(extension.get()); loop && firstPainting) {
                firstPainting = false;
                const bool forever = loop->Loops == 0 || (flags_ & GifPaint::LoopForever);
                loopsLeft = forever && threaded_ ? -1 : loop->Loops;
                loopStart = ActiveImage;
            }
        }
        const int index = ActiveImage;
        Synchronize([this, index] { PaintFrame(index); });
        started_ = true;
        previousDisposal_ = disposal_;
        nextDelay_ = NextDelay(frame.GraphicControlExtension ? frame.GraphicControlExtension->Delay : 0, threaded_);
        FireHook(AfterPaintHook);
        if (ActiveImage == index) ++ActiveImage;
        if (!(flags_ & GifPaint::Animate)) break;
    }
}

void TGIFPainter::WaitBeforeFrame(int delayUnits) {
    const int index = ActiveImage;
    Synchronize([this, index] { GifFrameBitmap(image_, image_.Images[index]); });
    if (speed_ < 1) {
        if (!threaded_)
            Sleep(12000);
        else if (speed_ == 0 && event_)
            while (!Terminated() && !restart_ && WaitForSingleObject(event_, INFINITE) != WAIT_OBJECT_0) {
            }
        return;
    }
    const DWORD now = LateBound::MillisecondClock();
    const int64_t lateness = previousFrameTime_ ? static_cast<int64_t>(now - previousFrameTime_) - previousWait_ : 0;
    const int ms = WaitMilliseconds(delayUnits, lateness, speed_);
    previousFrameTime_ = now;
    previousWait_ = ms;
    if (ms > 0) Sleep(ms);
}

// Waits ms milliseconds or until stopped: threaded on the event, inline in slices of at most
// 100 ms that serve the thread's messages. False when the wait was cut short by a stop.
bool TGIFPainter::Sleep(int ms) {
    const DWORD start = LateBound::MillisecondClock();
    for (;;) {
        if (Terminated() || restart_) return false;
        const int elapsed = static_cast<int>(LateBound::MillisecondClock() - start);
        if (elapsed >= ms) return true;
        const DWORD slice = static_cast<DWORD>(ms - elapsed);
        if (threaded_) {
            if (event_)
                WaitForSingleObject(event_, slice);  // a wake-up re-checks the flags
            else
                ::Sleep(slice);
            continue;
        }
        ::Sleep(std::min<DWORD>(slice, 100));
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                Terminate();
                return false;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// On the user-interface thread.
void TGIFPainter::PaintFrame(int index) {
    if ((flags_ & GifPaint::ValidateCanvas)) {
        const DWORD type = GetObjectType(targetDc_);
        if (type != OBJ_DC && type != OBJ_MEMDC) {
            Terminate();
            return;
        }
    }
    TGIFSubImage& frame = image_.Images[index];
    HDC dc = canvas_.Handle();
    HPALETTE palette = GifFramePalette(image_, frame);
    if (!palette) palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    {
        TPaletteSelection selected(dc, palette, false);
        if (backup_) {
            if (index == 0 && (flags_ & GifPaint::ClearOnLoop)) RestoreBackground(*backup_, frame);
            ComposeFrame(frame, disposal_);
        } else {
            DrawGifFrame(dc, image_, frame, rect_, flags_ & GifPaint::Transparent, flags_ & GifPaint::Tile);
        }
    }
    if (!(flags_ & GifPaint::DrawOnTarget)) image_.Changed();  // the picture bitmap changed
}

void TGIFPainter::ComposeFrame(TGIFSubImage& frame, int disposal) {
    const bool transparent = flags_ & GifPaint::Transparent, tile = flags_ & GifPaint::Tile;
    const RECT local{0, 0, backup_->Width(), backup_->Height()};
    HDC target = canvas_.Handle();
    if (disposal <= 2) {
        DrawGifFrame(backup_->Canvas().Handle(), image_, frame, local, transparent, tile);
        Copy(target, rect_, *backup_);
        if (disposal == 2) RestoreBackground(*backup_, frame);
    } else if (disposal == 3 && previousDisposal_ <= 1) {
        DrawGifFrame(target, image_, frame, rect_, transparent, tile);
    } else if (disposal == 3 && previousDisposal_ <= 3) {
        BitBlt(frameBuffer_->Canvas().Handle(), 0, 0, local.right, local.bottom, backup_->Canvas().Handle(), 0, 0,
               SRCCOPY);
        DrawGifFrame(frameBuffer_->Canvas().Handle(), image_, frame, local, transparent, tile);
        Copy(target, rect_, *frameBuffer_);
    }
    // Reserved disposals (4 to 7) paint nothing.
}

void TGIFPainter::RestoreBackground(TBitmap& buffer, TGIFSubImage& frame) {
    const RECT local{0, 0, buffer.Width(), buffer.Height()};
    const RECT area = (flags_ & GifPaint::Tile) ? local : GifFrameArea(image_, frame, local);
    HDC dc = buffer.Canvas().Handle();
    if ((flags_ & GifPaint::Transparent) && backgroundBitmap_) {
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
               backgroundBitmap_->Canvas().Handle(), area.left, area.top, SRCCOPY);
        return;
    }
    TBrushHandle brush(CreateSolidBrush(background_));
    FillRect(dc, &area, brush.Get());
}

// Leaves the picture's list (and its draw-painter reference); the buffers go first, on the
// user-interface thread that made them.
void TGIFPainter::Finish() {
    Synchronize([this] {
        backup_.reset();
        frameBuffer_.reset();
        backgroundBitmap_.reset();
    });
    TGIFDisplayState& state = image_.Display();
    std::lock_guard<std::recursive_mutex> guard(state.painterLock);
    state.painters.erase(std::remove(state.painters.begin(), state.painters.end(), this), state.painters.end());
    if (state.drawPainter == this) state.drawPainter = nullptr;
}

void StopGifPainter(TGIFImage& image, TGIFPainter* painter) {
    TGIFDisplayState& state = image.Display();
    {
        std::lock_guard<std::recursive_mutex> guard(state.painterLock);
        if (std::find(state.painters.begin(), state.painters.end(), painter) == state.painters.end()) return;
        painter->Stop();
        if (!painter->Threaded()) return;  // it ends when the drawing call it runs in returns
    }
    for (;;) {
        {
            std::lock_guard<std::recursive_mutex> guard(state.painterLock);
            if (std::find(state.painters.begin(), state.painters.end(), painter) == state.painters.end()) return;
        }
        CheckSynchronize();
        Sleep(1);
    }
}

void StopGifPainters(TGIFImage& image) {
    TGIFDisplayState& state = image.Display();
    auto threadedLeft = [&state] {
        std::vector<TGIFPainter*> left;
        for (TGIFPainter* p : state.painters)
            if (p->Threaded()) left.push_back(p);
        return left;
    };
    {
        std::lock_guard<std::recursive_mutex> guard(state.painterLock);
        for (TGIFPainter* painter : state.painters) painter->Stop();
    }
    for (;;) {
        std::vector<TGIFPainter*> left;
        {
            std::lock_guard<std::recursive_mutex> guard(state.painterLock);
            left = threadedLeft();
        }
        if (left.empty()) return;
        MSG quit;
        const bool quitting = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
        if (quitting) PostQuitMessage(static_cast<int>(quit.wParam));
        if (quitting || !SynchronizeWindow()) {
            // No way left to serve them: end them outright.
            std::lock_guard<std::recursive_mutex> guard(state.painterLock);
            for (TGIFPainter* painter : left) {
                painter->Kill();
                state.painters.erase(std::remove(state.painters.begin(), state.painters.end(), painter),
                                     state.painters.end());
                if (state.drawPainter == painter) state.drawPainter = nullptr;
                delete painter;
            }
            return;
        }
        CheckSynchronize();
        Sleep(1);
    }
}
