#pragma once
// Painters that dress the controls of a skinned window. Each hooks one control's messages
// (a toolkit control through a message hook, any other window by replacing its window
// procedure), lets the control do its own work and paints over it, or instead of it, from the
// window's skin.
#include <windows.h>

#include <memory>
#include <string>

#include "base/Component.h"
#include "toolkit/GraphicsObjects_win.h"
#include "toolkit/Messages_win.h"

class TSkinData;
class TSkinControlHost;
class TWinControl;

class TSkinControl : public TComponent {
public:
    explicit TSkinControl(TSkinControlHost& window);
    ~TSkinControl() override;
    const char* ClassName() const override { return "TSkinControl"; }

    // Hooks a toolkit control; with `setColour` the control's colour becomes the skin's
    // ButtonFace colour until Release.
    virtual void AttachControl(TWinControl& control, TSkinData& skinData, bool setColour);
    // Hooks a window the toolkit did not make.
    virtual void AttachHandle(HWND handle, TSkinData& skinData);
    // Unhooks and gives the colour back.
    virtual void Release();
    // True lets the message go on to the control's own handling, after which AfterMessage runs.
    virtual bool BeforeMessage(TMessage& message);
    virtual void AfterMessage(TMessage& message);
    // Paints the whole control now.
    virtual void Repaint();
    virtual void Paint(HDC dc, const RECT& rect);
    // A new skin is in force: pictures prepared again, the colour set again.
    virtual void SkinChanged();

    HWND Handle() const { return handle_; }
    TWinControl* Control() const { return control_; }
    TSkinControlHost& Window() const { return window_; }
    TSkinData& SkinData() const { return *skinData_; }
    // Hooked and not yet released.
    bool Attached() const { return hook_ != 0 || previousProc_ != nullptr; }
    // Sends the control the toolkit's mouse-leave notification (the pointer left it).
    void SendMouseLeave();
    bool Hot() const { return hot_; }
    bool Pressed() const { return pressed_; }

protected:
    // Makes this control the window's hot control; the previous one hears that the mouse left.
    void BecomeHot();
    // No longer hot (nor pressed); the window forgets it as its hot control.
    void StopBeingHot();
    // Hover for the painters that show it: a move of the pointer over the control makes it hot,
    // the toolkit's mouse-leave makes it normal again. True when the message was one of the two.
    bool FollowHover(TMessage& message);
    // The message a move over the control comes as: the client area's, unless the painter
    // draws in the frame.
    virtual UINT PointerMoveMessage() const { return WM_MOUSEMOVE; }
    // Each move: the painter notes which of its parts is under the pointer; true when that part
    // changed (and the control has to be drawn again).
    virtual bool HotPartMoved(const TMessage&) { return false; }
    // The mouse-leave notification: the hot part forgotten before the control is drawn normal.
    virtual void ForgetHotPart() {}
    // The mouse-leave notification is not heeded now.
    virtual bool IgnoresLeave() const { return false; }
    // Answers WM_PAINT with Paint alone (the control's own painting does not run).
    void PaintInstead(TMessage& message);
    // For painters that draw the whole control: answers WM_PAINT with Paint and WM_ERASEBKGND
    // with nothing (the painting covers it all); true when the message was one of them.
    bool PaintsInsteadOfControl(TMessage& message);
    // Focus, enabled state and text as the window has them now.
    void RefreshState();
    // The control's font (a toolkit control's own, else the one the window was given).
    HFONT ControlFont();
    // Posts the click a push button reports to its parent.
    void PostClick();
    // Whether a client point lies inside the control.
    bool ClientPointInside(LPARAM lParam) const;
    bool PlainWindow() const { return control_ == nullptr; }
    // The window is going: what the control had is not given back.
    bool WindowDestroying() const;
    // False once the painter is gone: for work that runs messages of its own.
    std::shared_ptr<bool> AliveFlag() const { return alive_; }

    TSkinControlHost& window_;
    TSkinData* skinData_ = nullptr;
    HWND handle_ = nullptr;
    TWinControl* control_ = nullptr;
    bool focused_ = false;
    bool enabled_ = true;
    std::wstring text_;  // as the window holds it (the system's texts in its own language)
    bool setColour_ = false;
    TColor ownColour_ = clBtnFace;
    bool followedParentColour_ = false;  // the colour given back is then the parent's at release
    bool hot_ = false;
    bool pressed_ = false;
    RECT paintedRect_{};

private:
    static LRESULT CALLBACK HookedWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    // BeforeMessage, the control's own handling, AfterMessage; safe when the painter goes on the way.
    void Deliver(TMessage& message, const TWndMethod& next);

    TMessageHookToken hook_ = 0;
    WNDPROC previousProc_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// What the window's frame asks of the control painters.
// The painter of a control's window, or nullptr.
TSkinControl* FindControlPainter(TSkinControlHost& window, HWND handle);
// Releases and frees every painter of the window (Restore).
void ReleaseSkinControls(TSkinControlHost& window);
// A skin switch: every painter prepares its pictures and colours again.
void RefreshSkinControls(TSkinControlHost& window);
// The window's timer in plain-window mode: the hot control gets its mouse-leave notification
// once the pointer (screen coordinates) has left it.
void CheckHotControlLeft(TSkinControlHost& window, POINT cursor);
