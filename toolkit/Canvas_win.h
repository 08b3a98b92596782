#pragma once
// A drawing surface over a device context, with its own font, brush and pen. A canvas either
// wraps a context it is given (SetHandle; a window's paint context) or makes one on demand
// (a bitmap's canvas overrides CreateHandle). Tools are selected into the context lazily and
// put back before the context is released or a tool's object is replaced.
//
// Canvases belong to the user-interface thread; they take no locks (other threads hand
// their painting over to that thread).
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "toolkit/CanvasDrawable_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/GraphicsObjects_win.h"


class TCanvas {
public:
    TCanvas();
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The device context, made on demand by CreateHandle where the canvas can make one.
    HDC Handle();
    // Uses a context the caller owns (nullptr detaches it); the canvas's tools are
    // deselected from the previous one first.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont& Font() { return font_; }
    TBrush& Brush() { return brush_; }
    TPen& Pen() { return pen_; }

    // The raster operation CopyRect and bitmap drawing use (SRCCOPY by default).
    DWORD CopyMode() const { return copyMode_; }
    void SetCopyMode(DWORD mode) { copyMode_ = mode; }

    // Draws the graphic at (x, y) at its own size; nothing for a missing or empty graphic.
    void Draw(int x, int y, TCanvasDrawable* graphic);
    // Draws the graphic into the rectangle (bitmaps are stretched; icons keep their size).
    void StretchDraw(const RECT& rect, TCanvasDrawable* graphic);
    void FillRect(const RECT& rect);
    void FrameRect(const RECT& rect);
    void Rectangle(int left, int top, int right, int bottom);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);
    // Copies srcRect of source into dest (stretched when the sizes differ) with CopyMode.
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& srcRect);
    // Copies srcRect of the source (a bitmap's canvas) into dest; pixels of exactly
    // replaceColor take this canvas's brush colour instead, every other pixel is copied.
    void BrushCopy(const RECT& dest, TCanvas& source, const RECT& srcRect, TColor replaceColor);
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const RECT& rect, int x, int y, const std::string& text);
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    // The clipping box of the context.
    RECT ClipRect();

    // Called before and after every drawing operation (a bitmap's canvas unshares and
    // marks its bitmap changed through these).
    std::function<void()> OnChanging;
    std::function<void()> OnChange;

    // State a drawing call needs selected into the context.
    enum StateFlags : unsigned { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };

protected:
    // Makes a context for canvases that own one (SetHandle with it); the base has none.
    virtual void CreateHandle() {}
    // Ensures the context and the given tools are selected.
    void RequireState(unsigned state);
    void Changing();
    void Changed();
    // Puts back the context's original objects (before the context goes away).
    void DeselectHandles();

private:
    void SelectFont();
    void SelectPen();
    void SelectBrush();

    TFont font_;
    TBrush brush_;
    TPen pen_;
    HDC dc_ = nullptr;
    unsigned state_ = 0;
    // The tools selected into dc_; each puts the context's own object back when it goes.
    std::optional<TSelection> fontSelection_, penSelection_, brushSelection_;
    DWORD copyMode_ = SRCCOPY;
};

// Rectangle helpers.
inline RECT MakeRect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }
inline RECT MakeBounds(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}
