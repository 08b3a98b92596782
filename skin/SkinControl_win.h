#pragma once
// Painters that dress the controls of a skinned window. Each hooks one control's messages
// (a toolkit control through a message hook, any other window by replacing its window
// procedure), lets the control do its own work and paints over it, or instead of it, from the
// window's skin.
#include <windows.h>

#include "toolkit/Component.h"
#include "toolkit/Messages_win.h"

class TSkinData;
class TSkinForm;
class TWinControl;

class TSkinControl : public TComponent {
public:
    explicit TSkinControl(TSkinForm& window);
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
    TSkinForm& Window() const { return window_; }
    TSkinData& SkinData() const { return *skinData_; }

protected:
    TSkinForm& window_;
    TSkinData* skinData_ = nullptr;
    HWND handle_ = nullptr;
    TWinControl* control_ = nullptr;
};

// What the window's frame asks of the control painters.
// Form mode: dresses the controls `parent` (a form or container) owns, at any depth.
void SkinFormControls(TSkinForm& window, TComponent& parent);
// Plain-window mode: dresses the window's child windows.
void SkinChildWindows(TSkinForm& window);
// The painter of a control's window, or nullptr.
TSkinControl* FindControlPainter(TSkinForm& window, HWND handle);
// Releases and frees every painter of the window (Restore).
void ReleaseSkinControls(TSkinForm& window);
// A skin switch: every painter prepares its pictures and colours again.
void RefreshSkinControls(TSkinForm& window);
// The window's timer in plain-window mode: the hot control gets its mouse-leave notification
// once the pointer (screen coordinates) has left it.
void CheckHotControlLeft(TSkinForm& window, POINT cursor);
