#pragma once
// Controls: everything placed on a form. TControl is the common base (position, caption,
// hint, cursor, colour, font, mouse events); windowed controls (TWinControl) have a window
// of their own, graphic controls (labels, images) are painted by their parent.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Component.h"
#include "base/ShortCut.h"
#include "toolkit/GraphicsObjects_win.h"
#include "toolkit/Messages_win.h"

class TWinControl;
class TForm;
class TPopupMenu;
class TCanvas;

enum TCursor { crDefault, crArrow, crHourGlass, crHandPoint, crIBeam };
enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    const char* ClassName() const override { return "TControl"; }

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The form this control sits on (itself for a form), or nullptr.
    TForm* ParentForm();

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual RECT ClientRect() const { return {0, 0, width_, height_}; }
    POINT ClientToScreen(POINT point);
    POINT ScreenToClient(POINT point);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    // Visible and on a parent that is showing.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    // The caption of buttons, labels and forms and the text of edits are one property.
    virtual std::string Text() const { return text_; }
    virtual void SetText(const std::string& text);
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    // Whether this control shows its hint; by default it follows its parent.
    bool ShowHint() const;
    void SetShowHint(bool show) {
        showHint_ = show;
        parentShowHint_ = false;
    }
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool follow) { parentShowHint_ = follow; }

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }

    // Colour of the control's background; follows the parent's unless set.
    TColor Color() const;
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    // The control's font; follows the parent's font unless changed.
    TFont& Font();
    bool ParentFont() const { return parentFont_; }

    // A popup menu of its own (a right click shows it); nullptr shows the parent's.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

    // Sends a message through the control's handler chain and returns its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The replaceable message handler (see TWndMethod); starts as the control's WndProc.
    TWndMethod WindowProc;
    // Message hooks: parties that want to see the control's messages first (the tray icon,
    // the skin engine) add a hook and later remove it by its token, in any order, without
    // undoing each other. The newest hook sees a message first; `next` passes it on to the
    // older hooks and finally to WindowProc.
    TMessageHookToken AddMessageHook(TMessageHook hook);
    void RemoveMessageHook(TMessageHookToken token);
    bool HasMessageHooks() const { return !hooks_.empty(); }
    // Runs a message through the hooks, then WindowProc: what the window procedure and
    // Perform do with every message.
    void DeliverMessage(TMessage& message);

    virtual void Invalidate();
    virtual void Update() {}
    virtual bool IsWindowed() const { return false; }

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    virtual void Click();

protected:
    virtual void WndProc(TMessage& message);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    // The parent's font or colour changed; controls that follow it take it over.
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    virtual void FontChanged();
    virtual void ColorChanged() { Invalidate(); }
    virtual void TextChanged() { Invalidate(); }
    virtual void BoundsChanged() {}
    bool MouseCaptured() const { return mouseDown_; }
    // Whether a left press and release over the control is a click (not for controls whose
    // window reports clicks itself, such as buttons).
    bool clickOnMouseUp_ = true;

private:
    bool DispatchMouse(TMessage& message);
    // Runs the message through the newest hook older than `token` (0: the newest of all).
    void DeliverBelow(TMessageHookToken token, TMessage& message);

    struct THookEntry {
        TMessageHookToken token;
        TMessageHook hook;
    };
    std::vector<THookEntry> hooks_;  // oldest first
    TMessageHookToken lastHookToken_ = 0;

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string text_;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool applyingParentFont_ = false;
    TPopupMenu* popupMenu_ = nullptr;
    bool mouseDown_ = false;

    friend class TWinControl;
};

// A control without a window of its own, painted by its parent inside the parent's paint.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
    const char* ClassName() const override { return "TGraphicControl"; }
    // Draws the control with the origin at its top-left corner.
    virtual void Paint(TCanvas& canvas) = 0;
};

// The shift state of the keyboard and mouse buttons right now, or from a mouse message.
TShiftState KeyboardShiftState();
TShiftState MouseShiftState(WPARAM mouseKeys);
