#pragma once
// The painting primitives of the skin engine: one cell of a multi-state skin picture drawn
// into a rectangle in nine parts (fixed margins, stretched or tiled middle), a cell copied
// 1:1, the magenta-keyed transparent copy, and a window outline from a picture's opaque pixels.
#include <windows.h>

#include "picture/bmp/Bitmap_win.h"
#include "skin/draw/SkinGeometry.h"
#include "skin/stored/SkinObjects_win.h"
#include "toolkit/GdiGuards_win.h"

// The colour the skins mark transparent pixels with.
constexpr COLORREF kSkinTransparent = RGB(255, 0, 255);

// How to cut and stretch one skin picture.
struct TSkinElementStyle {
    TSkinMargins margins;
    bool stacked = false;  // cells one above the other instead of side by side
    bool tiled = false;    // the centre repeated at its own size instead of stretched
    int frames = 1;
};
// The style a decoded skin object describes: its margins, its cells' direction (by its name),
// its frame count and its tile mode (for the frame borders: tiled unless Stretch is 1).
TSkinElementStyle ElementStyle(const TDataSkinObject& element);

// Draws cell `cell` (from 1) of the picture into a new bitmap of the target size, compatible
// with the screen. Returns an empty handle for an empty picture or target.
TBitmapHandle DrawSkinElement(SIZE target, TBitmap& picture, const TSkinElementStyle& style, int cell);
// The same, drawn onto `dc` at `rect`; pixels of kSkinTransparent stay uncovered when
// `transparent` is set.
void DrawSkinElementTransparent(HDC dc, const RECT& rect, TBitmap& picture, const TSkinElementStyle& style, int cell,
                                bool transparent);
// Drawn opaque onto `dc` at `rect`, but only where `clip` lies (a part of a larger element).
void DrawSkinElementClipped(HDC dc, const RECT& rect, const RECT& clip, TBitmap& picture,
                            const TSkinElementStyle& style, int cell);
// A decoded element drawn with its own style and transparency flag (Trans = 1).
void DrawSkinObject(HDC dc, const RECT& rect, TDataSkinObject& element, int cell);

// The left margin, the repeated middle and the right margin of one cell, horizontally only.
void DrawHorizontalThreePart(HDC dc, const RECT& rect, TBitmap& picture, int leftMargin, int rightMargin,
                             const TSkinElementStyle& style, int cell, bool transparent);
// One cell copied 1:1 to the top-left of `rect` (clipped to it).
void DrawCell(HDC dc, const RECT& rect, TBitmap& picture, bool transparent, int frames, int cell, bool stacked = false);
// Copies the bitmap (from its top-left) into `rect`, leaving the pixels of `colour` uncovered:
// background white and text black, XOR the bitmap, AND a monochrome mask of the colour, XOR
// the bitmap again.
void DrawTransparent(HDC dc, const RECT& rect, HBITMAP bitmap, COLORREF colour);
// The union of the runs of pixels of each row that are not `colour`, offset by (x, y).
// Returns an empty handle when the bitmap cannot be read.
TRegionHandle RegionFromBitmap(HBITMAP bitmap, int x, int y, COLORREF colour);
