#include "gif/show/GifDrawing_win.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "gif/show/GifFrameDrawing_win.h"
#include "gif/show/GifPainter_win.h"
#include "gif/show/GifPicture_win.h"
#include "gif/show/GifRenderer_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/ScreenDevice_win.h"
#include "toolkit/Thread_win.h"

namespace {
// Waits until the painter has shown its first frame or has ended, serving the cross-thread
// calls it makes meanwhile. A quit message ends the wait and is posted again.
void WaitForFirstFrame(TGIFImage& image, TGIFPainter* painter) {
    TGIFDisplayState& state = image.Display();
    for (;;) {
        {
            std::lock_guard<std::recursive_mutex> guard(state.painterLock);
            if (std::find(state.painters.begin(), state.painters.end(), painter) == state.painters.end()) return;
            if (painter->Started()) return;
        }
        CheckSynchronize();
        MSG message;
        if (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        Sleep(1);
    }
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TBitmap* GifPictureBitmap(TGIFImage& image) {
    TGIFDisplayState& state = image.Display();
    if (state.pictureBitmap || image.Empty()) return state.pictureBitmap.get();
    TGIFSubImage& first = image.Images[0];
    auto bitmap = std::make_unique<TBitmap>();
    if (first.Width() == image.Width() && first.Height() == image.Height() && !first.Empty()) {
        bitmap->Assign(&GifFrameBitmap(image, first));
    } else {
        bitmap->SetSize(image.Width(), image.Height());
        if (HPALETTE palette = image.Palette()) bitmap->SetPalette(CopyGifPalette(palette));
        RECT whole{0, 0, image.Width(), image.Height()};
        DrawGifFrame(bitmap->Canvas().Handle(), image, first, whole, false, false);
    }
    state.pictureBitmap = std::move(bitmap);
    return state.pictureBitmap.get();
}

void DropPictureBitmap(TGIFImage& image) {
    TGIFDisplayState& state = image.Display();
    TGIFPainter* painter;
    {
        std::lock_guard<std::recursive_mutex> guard(state.painterLock);
        painter = state.drawPainter;
    }
    if (painter) StopGifPainter(image, painter);
    state.pictureBitmap.reset();
    state.palette.Reset();
}

HPALETTE TGIFImage::Palette() const {
    TGIFDisplayState& state = Display();
    if (!state.palette && !Empty()) {
        const TGIFColorMap& colors =
            Header.ColorMap.Empty() ? static_cast<const TGIFColorMap&>(Images[0].ColorMap) : Header.ColorMap;
        if (colors.Empty()) throw GIFException(ErrorText::GifNoColorTable);
        state.palette.Reset(CreateGifPalette(colors.Data(), colors.Count()));
    }
    return state.palette.Get();
}

void TGIFImage::Draw(TCanvas& canvas, const RECT& rect) {
    TGIFDisplayState& state = Display();
    if (state.drawing || Empty()) return;
    state.drawing = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{state.drawing};
    const bool tile = PaintFlags & GifPaint::Tile;
    if (Images.Count() == 1 || !(PaintFlags & GifPaint::Animate)) {
        DrawGifFrame(canvas.Handle(), *this, Images[0], rect, PaintFlags & GifPaint::Transparent, tile);
        return;
    }
    const bool onTarget = PaintFlags & GifPaint::DrawOnTarget;
    if (!state.pictureBitmap || onTarget) {
        std::unique_lock<std::recursive_mutex> guard(state.painterLock);
        TGIFPainter* painter = state.drawPainter;
        if (!painter || &painter->Canvas() != &canvas || !SameRect(painter->Rect(), rect)) {
            if (painter) {
                guard.unlock();
                StopGifPainter(*this, painter);
                guard.lock();
            }
            TCanvas* target = &canvas;
            RECT targetRect = rect;
            if (!onTarget) {
                auto bitmap = std::make_unique<TBitmap>();
                bitmap->SetSize(Width(), Height());
                if (HPALETTE palette = Palette()) bitmap->SetPalette(CopyGifPalette(palette));
                StretchBlt(bitmap->Canvas().Handle(), 0, 0, Width(), Height(), canvas.Handle(), rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, SRCCOPY);
                state.pictureBitmap = std::move(bitmap);
                target = &state.pictureBitmap->Canvas();
                targetRect = RECT{0, 0, Width(), Height()};
            }
            auto created = std::make_unique<TGIFPainter>(*this, *target, targetRect, PaintFlags);
            painter = created.get();
            state.drawPainter = painter;
            state.painters.push_back(painter);
            guard.unlock();
            if (painter->Threaded()) {
                created.release();  // it releases itself when it ends
                painter->Start();
            } else {
                painter->Start();  // plays here and now
                created.reset();
                painter = nullptr;
            }
        } else {
            guard.unlock();
        }
        if (onTarget) return;
        if (painter) WaitForFirstFrame(*this, painter);
    }
    if (TBitmap* picture = state.pictureBitmap.get()) DrawBitmapScaledOrTiled(canvas.Handle(), rect, *picture, tile);
}

void TGIFImage::AssignTo(TGraphic* target) const {
    if (!target || !target->InheritsFrom(TBitmap::StaticClass())) {
        TGraphic::AssignTo(target);
        return;
    }
    auto* bitmap = static_cast<TBitmap*>(target);
    TBitmap* picture = GifPictureBitmap(const_cast<TGIFImage&>(*this));
    bitmap->Assign(picture);
}

void TGIFImage::StopPainters() { StopGifPainters(*this); }

void TGIFImage::FramesChanged() { DropPictureBitmap(*this); }
