#pragma once
// What a canvas draws: anything that paints itself into a rectangle and has a size of its own.
// The picture classes implement it, so the canvas needs to know nothing of them.
#include <windows.h>

class TCanvas;

class TCanvasDrawable {
public:
    virtual ~TCanvasDrawable() = default;
    virtual void Draw(TCanvas& canvas, const RECT& rect) = 0;
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};
