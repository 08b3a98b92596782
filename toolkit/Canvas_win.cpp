#include "toolkit/Canvas_win.h"

#include "base/Exceptions.h"
#include "toolkit/ScreenDevice_win.h"
#include "toolkit/WideText_win.h"

TCanvas::TCanvas() {
    // A tool about to get a new GDI object must not be selected in the context any longer.
    font_.OnChange = [this] {
        fontSelection_.reset();
        state_ &= ~csFontValid;
    };
    pen_.OnChange = [this] {
        penSelection_.reset();
        state_ &= ~csPenValid;
    };
    brush_.OnChange = [this] {
        brushSelection_.reset();
        state_ &= ~csBrushValid;
    };
}

TCanvas::~TCanvas() { DeselectHandles(); }

HDC TCanvas::Handle() {
    RequireState(csHandleValid);
    return dc_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    DeselectHandles();
    dc_ = dc;
    state_ = dc ? unsigned{csHandleValid} : 0u;
}

void TCanvas::DeselectHandles() {
    fontSelection_.reset();
    penSelection_.reset();
    brushSelection_.reset();
    state_ &= csHandleValid;
}

void TCanvas::RequireState(unsigned state) {
    if (!dc_) {
        CreateHandle();
        if (!dc_) throw EInvalidOperation(ErrorText::CanvasNoDrawing);
    }
    unsigned missing = state & ~state_;
    if (missing & csFontValid) SelectFont();
    if (missing & csPenValid) SelectPen();
    if (missing & csBrushValid) SelectBrush();
}

// Each tool goes in through a fresh selection, after the old one has put the context's own
// object back, so that the selection always ends with the context's original object.
void TCanvas::SelectFont() {
    fontSelection_.reset();
    fontSelection_.emplace(dc_, font_.Handle());
    SetTextColor(dc_, ColorToRGB(font_.Color()));
    state_ |= csFontValid;
}

void TCanvas::SelectPen() {
    penSelection_.reset();
    penSelection_.emplace(dc_, pen_.Handle());
    SetROP2(dc_, pen_.Mode());
    state_ |= csPenValid;
}

void TCanvas::SelectBrush() {
    brushSelection_.reset();
    brushSelection_.emplace(dc_, brush_.Handle());
    SetBkColor(dc_, ColorToRGB(brush_.Color()));
    SetBkMode(dc_, brush_.Style() == bsSolid ? OPAQUE : TRANSPARENT);
    state_ |= csBrushValid;
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging();
}

void TCanvas::Changed() {
    if (OnChange) OnChange();
}

void TCanvas::Draw(int x, int y, TCanvasDrawable* graphic) {
    if (!graphic || graphic->Empty()) return;
    Changing();
    RequireState(csHandleValid);
    graphic->Draw(*this, MakeBounds(x, y, graphic->Width(), graphic->Height()));
    state_ &= ~(csFontValid | csBrushValid);
    Changed();
}

void TCanvas::StretchDraw(const RECT& rect, TCanvasDrawable* graphic) {
    if (!graphic) return;
    Changing();
    RequireState(csHandleValid);
    graphic->Draw(*this, rect);
    state_ &= ~(csFontValid | csBrushValid);
    Changed();
}

void TCanvas::FillRect(const RECT& rect) {
    Changing();
    RequireState(csHandleValid | csBrushValid);
    ::FillRect(dc_, &rect, brush_.Handle());
    Changed();
}

void TCanvas::FrameRect(const RECT& rect) {
    Changing();
    RequireState(csHandleValid | csBrushValid);
    ::FrameRect(dc_, &rect, brush_.Handle());
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    Changing();
    RequireState(csHandleValid | csPenValid | csBrushValid);
    ::Rectangle(dc_, left, top, right, bottom);
    Changed();
}

void TCanvas::MoveTo(int x, int y) {
    RequireState(csHandleValid);
    MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    Changing();
    RequireState(csHandleValid | csPenValid | csBrushValid);
    ::LineTo(dc_, x, y);
    Changed();
}

TColor TCanvas::Pixel(int x, int y) {
    RequireState(csHandleValid);
    return GetPixel(dc_, x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    Changing();
    RequireState(csHandleValid | csPenValid);
    ::SetPixel(dc_, x, y, ColorToRGB(color));
    Changed();
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& srcRect) {
    Changing();
    RequireState(csHandleValid | csFontValid | csBrushValid);
    HDC sourceDC = source.Handle();
    StretchBlt(dc_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, sourceDC, srcRect.left,
               srcRect.top, srcRect.right - srcRect.left, srcRect.bottom - srcRect.top, copyMode_);
    Changed();
}

namespace {

// A bitmap in a context of its own; the context lets go of the bitmap before it is deleted.
struct TLayer {
    TBitmapHandle bitmap;  // declared first: it outlives the context that holds it
    TMemoryDC dc;
    TLayer(HDC reference, HBITMAP made) : bitmap(made), dc(reference, made) {}
};

}  // namespace

void TCanvas::BrushCopy(const RECT& dest, TCanvas& source, const RECT& srcRect, TColor replaceColor) {
    int width = dest.right - dest.left, height = dest.bottom - dest.top;
    if (width <= 0 || height <= 0) return;
    HDC sourceDC = source.Handle();
    Changing();
    RequireState(csHandleValid | csBrushValid);
    // Build the result off-screen: the source stretched to the target size, a mask of the
    // pixels that hold the replaced colour, and the brush laid into exactly those pixels.
    TLayer work(dc_, CreateCompatibleBitmapFor(dc_, width, height));
    SetStretchBltMode(work.dc.Get(), COLORONCOLOR);
    StretchBlt(work.dc.Get(), 0, 0, width, height, sourceDC, srcRect.left, srcRect.top,
               srcRect.right - srcRect.left, srcRect.bottom - srcRect.top, SRCCOPY);
    TLayer mask(nullptr, CreateBitmap(width, height, 1, 1, nullptr));
    SetBkColor(work.dc.Get(), ColorToRGB(replaceColor));
    BitBlt(mask.dc.Get(), 0, 0, width, height, work.dc.Get(), 0, 0, SRCCOPY);
    // Clear the replaced pixels in the work image (mask 1 -> black, 0 -> white, then AND).
    SetBkColor(work.dc.Get(), RGB(0, 0, 0));
    SetTextColor(work.dc.Get(), RGB(255, 255, 255));
    BitBlt(work.dc.Get(), 0, 0, width, height, mask.dc.Get(), 0, 0, SRCAND);
    // The brush, kept only where the mask is set.
    TLayer fill(dc_, CreateCompatibleBitmapFor(dc_, width, height));
    RECT all = {0, 0, width, height};
    ::FillRect(fill.dc.Get(), &all, brush_.Handle());
    SetBkColor(fill.dc.Get(), RGB(255, 255, 255));
    SetTextColor(fill.dc.Get(), RGB(0, 0, 0));
    BitBlt(fill.dc.Get(), 0, 0, width, height, mask.dc.Get(), 0, 0, SRCAND);
    BitBlt(work.dc.Get(), 0, 0, width, height, fill.dc.Get(), 0, 0, SRCPAINT);
    BitBlt(dc_, dest.left, dest.top, width, height, work.dc.Get(), 0, 0, SRCCOPY);
    Changed();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Changing();
    RequireState(csHandleValid | csFontValid | csBrushValid);
    const std::wstring wide = WideFromAnsi(text);
    ::TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
    Changed();
}

void TCanvas::TextRect(const RECT& rect, int x, int y, const std::string& text) {
    Changing();
    RequireState(csHandleValid | csFontValid | csBrushValid);
    UINT options = ETO_CLIPPED | (brush_.Style() != bsClear ? ETO_OPAQUE : 0);
    const std::wstring wide = WideFromAnsi(text);
    ExtTextOutW(dc_, x, y, options, &rect, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
    Changed();
}

SIZE TCanvas::TextExtent(const std::string& text) {
    RequireState(csHandleValid | csFontValid);
    return TextExtentOf(dc_, text);
}

RECT TCanvas::ClipRect() {
    RequireState(csHandleValid);
    RECT box = {0, 0, 0, 0};
    GetClipBox(dc_, &box);
    return box;
}
