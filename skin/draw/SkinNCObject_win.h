#pragma once
// Things a skinned window draws in its non-client area that react to the mouse: the caption
// buttons and the menu-bar items. Each belongs to one window and draws itself onto it.
#include <windows.h>

class TNCObject {
public:
    enum TState { Normal = 1, Pressed = 2, MouseOver = 3 };

    explicit TNCObject(HWND window) : window_(window) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    RECT Bounds{};  // in window coordinates
    bool Enabled = true;
    int State = Normal;

    virtual void MouseDown() { SetState(Pressed); }
    virtual void MouseUp() { SetState(MouseOver); }
    virtual void MouseMove() { SetState(MouseOver); }
    virtual void MouseLeave() { SetState(Normal); }
    // Draws the object onto a device context of the whole window.
    virtual void Paint(HDC windowDC) = 0;

    bool Contains(POINT windowPoint) const { return PtInRect(&Bounds, windowPoint) != FALSE; }
    HWND Window() const { return window_; }

protected:
    // Changes the state and repaints the object when it changed.
    void SetState(int state);

private:
    HWND window_;
};
