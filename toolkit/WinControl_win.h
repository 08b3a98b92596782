#pragma once
// Controls with a window of their own. Each registers a window class named after its
// toolkit class ("TBitBtn", "TEdit", "TPageControl", ...): either a class of its own or a
// system control's class copied under the new name, so the skin engine can recognise every
// control by its class name. One window procedure serves them all; it finds the object
// from the window handle and runs the object's WindowProc, which any code may replace.
#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/Control_win.h"
#include "toolkit/GraphicsObjects_win.h"

// The window procedure of every toolkit window class.
LRESULT CALLBACK ToolkitWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

struct TCreateParams {
    std::string className;            // the registered class name
    const char* systemClass = nullptr;  // system class copied under className; nullptr: own class
    UINT classStyle = CS_DBLCLKS;       // for own classes
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parentWindow = nullptr;
    HMENU menu = nullptr;               // a top-level window's menu bar, laid out as it is made
    HICON classIcon = nullptr;          // for own classes: the icon of the class's windows
    int x = 0, y = 0, width = 0, height = 0;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    const char* ClassName() const override { return "TWinControl"; }

    // The window, created (with those of the visible child controls) on first use; a hidden
    // control's window is made when it is first shown or asked for.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // The object whose window this is, or nullptr for windows the toolkit did not make.
    static TWinControl* FromHandle(HWND window);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
    // The topmost visible graphic child control at a client point.
    TControl* GraphicControlAt(POINT clientPoint) const;

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);
    void SetFocus();
    bool Focused() const;
    bool CanFocus() const;

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    void SetVisible(bool visible) override;
    bool Showing() const override;
    void SetEnabled(bool enabled) override;
    std::string Text() const override;
    void SetText(const std::string& text) override;
    void Invalidate() override;
    void Update() override;
    // Paints now whatever waits to be painted in this window and its children, and lets the
    // paint and a new cursor reach the screen: for a handler about to keep the thread busy,
    // which answers nothing meanwhile (some systems pass both on through the window's queue).
    void ShowPendingPaint();
    bool IsWindowed() const override { return true; }

    // Runs the message through the window procedure of the class this control is built on.
    void DefaultHandler(TMessage& message);

protected:
    virtual void CreateParams(TCreateParams& params);
    // The window exists: apply the state kept so far and create the children's windows.
    virtual void CreateWnd();
    virtual void HandleCreated();
    void DestroyHandle();
    void RecreateWnd();
    void WndProc(TMessage& message) override;
    // Painting of controls with a class of their own; the background is already filled.
    virtual void Paint(TCanvas&) {}
    // Places client-aligned children again (the page control keeps its pages filling it).
    virtual void AlignControls() {}
    void BeforeDestruction() override;
    void FontChanged() override;
    void ColorChanged() override;
    bool OwnWindowClass() const { return ownClass_; }
    // The brush of the control's background colour, for WM_CTLCOLOR answers and erasing.
    HBRUSH BackgroundBrush();
    virtual void ControlInserted(TControl*) {}
    virtual void ControlRemoved(TControl*) {}

private:
    // Handle()'s creation; a tree made after its form's window tells the form (CM_CONTROLSCREATED).
    void CreateHandleTree();
    friend class TControl;
    friend LRESULT CALLBACK ToolkitWindowProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ReflectToChild(TMessage& message);
    bool HandleMouseForGraphicChild(TMessage& message);
    bool HandleSetCursor(TMessage& message);
    bool HandleContextMenu(TMessage& message);
    void PaintWindow(TMessage& message);
    void PaintGraphicControls(HDC dc, const RECT& update);
    void WindowDestroyed();
    void UpdateBoundsFromWindow();

    HWND handle_ = nullptr;
    WNDPROC defaultProc_ = nullptr;
    bool ownClass_ = true;
    bool tabStop_ = false;
    std::vector<TControl*> controls_;
    TControl* graphicCapture_ = nullptr;
    TBrush backgroundBrush_;
};
