#pragma once
// What the drawn menu bar needs of the window it belongs to. The window's frame provides it;
// the menus know nothing more of the frame.
#include <windows.h>

class TForm;
class TSkinData;

class TMenuBarHost {
public:
    virtual ~TMenuBarHost() = default;
    virtual HWND Handle() const = 0;
    // The program's form (its menu items are the toolkit's), or nullptr for a plain window.
    virtual TForm* Form() const = 0;
    virtual TSkinData& SkinData() const = 0;
    virtual bool Active() const = 0;
    // The window is being destroyed.
    virtual bool Destroying() const = 0;
    // A multiple-document frame (its bar may show a maximised child's caption buttons).
    virtual bool IsMDIFrame() const = 0;
    // Draws the maximised child's caption buttons that sit in the bar (window coordinates).
    virtual void DrawMenuBarButtons(HDC dc) = 0;
};
