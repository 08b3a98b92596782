#pragma once
// Forms: the program's top-level windows. A form's window class is registered under the
// form's class name ("TVyrfForm1", "TForm2"), and its window is owned by the application
// window, so the program has one taskbar button and minimises as a whole.
#include <windows.h>

#include <functional>
#include <string>

#include "base/ModalResult.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/WinControl_win.h"

class TMainMenu;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
using TBorderIcons = unsigned;
enum TPosition { poDesigned, poScreenCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
// A file dropped onto the form: the first one when several are, in the program's code page.
using TFileDropEvent = std::function<void(TObject* sender, const std::string& fileName)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
    const char* ClassName() const override { return "TForm"; }

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons) { borderIcons_ = icons; }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }

    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientSize(int width, int height);
    // An explicit outer size wins over a client size asked for earlier.
    void SetBounds(int left, int top, int width, int height) override;

    // The window's icon; the form owns the handle.
    HICON Icon() const { return icon_.Get(); }
    void SetIcon(HICON icon);

    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // The main menu changed: the menu bar is redrawn and CM_MENUCHANGED goes through the
    // form's WindowProc (the skin engine rebuilds its drawn menu bar on it).
    void MenuChanged();

    void Show();
    void Hide();
    // Asks the form to close: OnClose decides what happens; closing the main form ends the
    // program, closing a modal form ends its modal loop.
    void Close();
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    bool Modal() const { return modal_; }

    // The control that gets the focus when the form is next activated.
    void SetActiveControl(TWinControl* control) { activeControl_ = control; }

    // Key handling before the focused control: menu shortcuts, then the form's own keys.
    virtual bool IsShortCut(uint16_t key, TShiftState shift);
    virtual bool DialogKey(uint16_t key, TShiftState shift);
    virtual bool DialogChar(char character);

    TNotifyEvent OnCreate;
    TCloseEvent OnClose;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    // The form takes dropped files while this is set, except while long work runs
    // (TBusyState); set it before the window exists or call UpdateDropTarget after.
    TFileDropEvent OnFileDrop;
    void UpdateDropTarget();

    void SetVisible(bool visible) override;
    bool Showing() const override;

protected:
    friend class TApplication;
    void DoCreate();
    // Shows a form made visible before its OnCreate ran.
    void CreationEnded();
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    void BeforeDestruction() override;
    // What closing a modal form answers when nothing else set a result.
    TModalResult CloseResult() const { return closeResult_; }
    void SetCloseResult(TModalResult result) { closeResult_ = result; }

private:
    void ApplyClientSize(bool layOutFrame = true);
    HICON ClassIcon();
    void ForgetClassIcon();
    void CentreOnScreen();
    void Activated(bool active);
    bool AdjustForMenu() const;
    bool AcceptsDrops() const;
    void FileDropped(HDROP drop);

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = poDesigned;
    int clientWidth_ = 0, clientHeight_ = 0;
    TIconHandle icon_;
    TMainMenu* menu_ = nullptr;
    bool shownBefore_ = false;
    bool showWaitsForCreate_ = false;
    bool modal_ = false;
    TModalResult modalResult_ = mrNone;
    TModalResult closeResult_ = mrCancel;
    HWND focusedWindow_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    bool destroyed_ = false;
};
