#pragma once
// The painters of the skinned controls, one class per kind of control (each in a file of its
// own): push and bitmap buttons, check boxes, radio buttons, group boxes, tab controls, track
// bars, spin buttons, edits, combo boxes, scroll bars and size grips.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "picture/bmp/Bitmap_win.h"
#include "skin/controls/SkinControl_win.h"
#include "skin/draw/SkinWindowClass_win.h"
#include "skin/draw/SkinWindowDC_win.h"
#include "toolkit/GdiGuards_win.h"

class TDataSkinObject;

// Push buttons: painted off screen from the push-button picture, instead of the button's own
// painting; a press and release over the button clicks it.
class TSkinButton : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    const char* ClassName() const override { return "TSkinButton"; }
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;
    // The push-button picture's cell for the button's state now.
    int Cell() const;

protected:
    bool IgnoresLeave() const override;
    // The caption (and glyph) over the button's picture, in the state's text colour.
    virtual void DrawContent(HDC dc, const RECT& rect, COLORREF textColour);
    COLORREF TextColour(int cell) const;

private:
    bool HasPicture() const;
    void Press();
    void TrackMouse(LPARAM lParam);
    void GiveFocusBack();
    bool tracking_ = false;  // the mouse was pressed on the button and not yet released
    bool clickOnRelease_ = false;
    bool leftOnRelease_ = false;  // released away from the button after a tracked press
    HWND focusBeforePress_ = nullptr;  // where the focus was when a press took it
};

// Bitmap buttons: a push button with its glyph placed by its layout, margin and spacing.
class TSkinBitButton : public TSkinButton {
public:
    using TSkinButton::TSkinButton;
    const char* ClassName() const override { return "TSkinBitButton"; }

protected:
    void DrawContent(HDC dc, const RECT& rect, COLORREF textColour) override;
};

// Check boxes and radio buttons: after the control's own painting, the box is drawn over from
// the skin's picture.
class TSkinCheckBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    const char* ClassName() const override { return "TSkinCheckBox"; }
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

protected:
    // The picture, its frame count and the cell for the control's state (0: nothing to draw).
    virtual TBitmap* Picture(int& frames) const;
    virtual int Cell() const;
};

class TSkinRadioButton : public TSkinCheckBox {
public:
    using TSkinCheckBox::TSkinCheckBox;
    const char* ClassName() const override { return "TSkinRadioButton"; }

protected:
    TBitmap* Picture(int& frames) const override;
    int Cell() const override;
};

// Group boxes: the caption in the skin's ButtonText colour, the frame from the group-box edge.
class TSkinBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    const char* ClassName() const override { return "TSkinBox"; }
    void AttachControl(TWinControl& control, TSkinData& skinData, bool setColour) override;
    void Release() override;
    bool BeforeMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

private:
    TColor ownFontColour_ = clWindowText;
};

// Tab controls: the tab strip and the page border from the Tabs element, off screen.
class TSkinTab : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    const char* ClassName() const override { return "TSkinTab"; }
    void AttachControl(TWinControl& control, TSkinData& skinData, bool setColour) override;
    void AttachHandle(HWND handle, TSkinData& skinData) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

protected:
    // The tab under the pointer.
    bool HotPartMoved(const TMessage& move) override;
    void ForgetHotPart() override;

private:
    void SkinSpinButton();
    void DrawTab(HDC dc, int index, const RECT& rect, bool selected);
    int DrawTabImage(HDC dc, const RECT& content, int image, const std::wstring& text);
    void DrawPageBorder(HDC dc, const RECT& client, const RECT& tabs);
    int hotTab_ = -1;
};

// Track bars: the thumb from the push-button picture, through the custom-draw notifications.
class TSkinTrackBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    const char* ClassName() const override { return "TSkinTrackBar"; }
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;

private:
    LRESULT CustomDraw(NMCUSTOMDRAW& draw);
};

// Spin buttons: two flat arrow buttons.
class TSkinUpDown : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    const char* ClassName() const override { return "TSkinUpDown"; }
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

private:
    int pressedHalf_ = -1;  // 0 the up (or left) arrow, 1 the other one
};
// A spin button inside another dressed control (an edit's, a tab strip's scroll arrows) gets a
// painter of its own, kept by the window, unless it has one already.
void DressSpinButton(TSkinControlHost& window, HWND spin, TSkinData& skinData);

// Edits: the 3D border becomes a flat line.
class TSkinEdit : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    const char* ClassName() const override { return "TSkinEdit"; }
    void AttachControl(TWinControl& control, TSkinData& skinData, bool setColour) override;
    void AttachHandle(HWND handle, TSkinData& skinData) override;
    void AfterMessage(TMessage& message) override;
    void Repaint() override;

private:
    void SkinSpinButton();
    bool hasSpinButton_ = false;
};

// Combo boxes: the border, the drop button and its arrow.
class TSkinComBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    const char* ClassName() const override { return "TSkinComBox"; }
    void AfterMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

private:
    RECT ButtonRect() const;
};

// The scroll bars of a control: arrows, track and thumb drawn from the skin, with clicks and
// drags tracked by the painter.
class TSkinScrollBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    const char* ClassName() const override { return "TSkinScrollBar"; }
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Repaint() override;

protected:
    // The bars lie in the frame; the arrow or thumb under the pointer shows hover.
    UINT PointerMoveMessage() const override { return WM_NCMOUSEMOVE; }
    bool HotPartMoved(const TMessage& move) override;
    void ForgetHotPart() override;

private:
    struct TBarParts;
    bool BarParts(int bar, TBarParts& parts) const;
    void PaintBar(HDC dc, int bar);
    struct TThumbDrag;
    // The part of a bar under a point in window coordinates.
    static int PartAt(const TBarParts& parts, POINT local);
    bool TrackPress(int bar, POINT screen);
    // Holds the press until the button is released; false when the painter went meanwhile.
    bool HoldPress(int bar, int part, TBarParts& parts, const TThumbDrag& drag, int& position);
    int DragThumb(int bar, const TBarParts& parts, const TThumbDrag& drag);
    void RepeatPress(int bar, int part, TBarParts& parts);
    void Scroll(int bar, int code, int position = 0);
    int activeBar_ = -1;    // the bar being pressed (SB_HORZ / SB_VERT)
    int pressedPart_ = 0;   // which part is held down
    int hotBar_ = -1, hotPart_ = 0;
};

// Size grips (scroll-bar windows of the size-grip kind).
class TSkinSizer : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    const char* ClassName() const override { return "TSkinSizer"; }
    bool BeforeMessage(TMessage& message) override;
    void Paint(HDC dc, const RECT& rect) override;

private:
    bool IsSizeGrip() const;
};

// Helpers the painters share.
namespace SkinPainting {
// A colour of the skin, as the screen takes it.
COLORREF Rgb(TColor colour);
// Draws into an off-screen bitmap the size of `rect`, then copies it to `dc` at once.
template <typename Draw>
void OffScreen(HDC dc, const RECT& rect, Draw draw) {
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;
    TMemoryDC buffer(dc);
    TBitmapHandle bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!buffer || !bitmap) return;
    TSelection selected(buffer.Get(), bitmap.Get());
    RECT local{0, 0, width, height};
    draw(buffer.Get(), local);
    SetViewportOrgEx(buffer.Get(), 0, 0, nullptr);  // a painter may have moved it to draw in its own coordinates
    BitBlt(dc, rect.left, rect.top, width, height, buffer.Get(), 0, 0, SRCCOPY);
}
void FillColour(HDC dc, const RECT& rect, COLORREF colour);
// One-pixel rectangle outline.
void FrameColour(HDC dc, const RECT& rect, COLORREF colour);
// A small solid arrow (a triangle) centred in `rect`, pointing up, down, left or right.
enum TArrow { arUp, arDown, arLeft, arRight };
void DrawArrow(HDC dc, const RECT& rect, TArrow direction, COLORREF colour);
}  // namespace SkinPainting
