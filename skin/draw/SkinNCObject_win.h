#pragma once
// Things a skinned window draws in its non-client area that react to the mouse: the caption
// buttons and the menu-bar items. Each belongs to the window's TSkinForm.
#include <windows.h>

class TSkinForm;

class TNCObject {
public:
    enum TState { Normal = 1, Pressed = 2, MouseOver = 3 };

    explicit TNCObject(TSkinForm& owner) : owner_(owner) {}
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
    TSkinForm& Owner() const { return owner_; }

protected:
    // Changes the state and repaints the object when it changed.
    void SetState(int state);

private:
    TSkinForm& owner_;
};
