#pragma once
// The dress of one skinned window: its frame, caption and caption buttons painted from the
// skin's pictures, its outline cut to the borders' opaque pixels, the behaviour of the system
// caption reproduced, and the painters of its controls and its drawn menu bar kept here.
//
// Form mode: the window is one of the program's forms (its controls are found by walking the
// form's components). Plain-window mode: any other window of the thread (message boxes,
// standard dialogs; its controls are found by walking the child windows).
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "picture/Bitmap_win.h"
#include "skin/SkinNCObject_win.h"
#include "toolkit/Component.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/Messages_win.h"

class TForm;
class TSkinData;
class TDataSkinSysButton;
class TSkinControl;
class TSkinMenuBar;

// Private messages of skinned windows.
constexpr UINT WM_SKIN_REPAINTFRAME = 13570;   // repaint the frame
constexpr UINT WM_SKIN_FIRSTSHOW = 13571;      // first showing after attach (posted by the manager)
constexpr UINT WM_SKIN_BUTTONACTION = 13572;   // a caption button's own action, in wParam
constexpr UINT WM_SKIN_REFRESH = 13313;        // refresh after a skin change (form mode)

// One caption button of a skinned window, made from one of the skin's button definitions.
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TSkinForm& owner, TDataSkinSysButton& definition);
    TDataSkinSysButton& Definition() const { return definition_; }
    bool Visible = false;
    void Paint(HDC windowDC) override;

private:
    TDataSkinSysButton& definition_;
};

class TSkinForm : public TComponent {
public:
    enum TSkinState { ssAttached = 0, ssSkinned = 1, ssRefreshing = 3, ssDestroying = 4, ssFirstSizing = 5 };
    enum TWindowKind { wkOrdinary = 0, wkMDIFrame = 1, wkMDIChild = 2 };

    explicit TSkinForm(HWND window);
    ~TSkinForm() override;
    const char* ClassName() const override { return "TSkinForm"; }

    // Form mode: hooks the form's message handler, then AttachWindow.
    void AttachForm(TSkinData& skinData, TForm& form);
    // Plain-window mode, and the common part of form mode.
    void AttachWindow(TSkinData& skinData);
    // Gives the window back its own frame, procedure, menu, colours and controls' looks; the
    // client area keeps its size.
    void Restore();
    // Frame sizes and caption buttons from the skin data (at attach and in a re-skin pass).
    void ApplySkinData();
    // The first phase of a skin switch: the caption buttons refer to the old skin's objects.
    void DiscardCaptionButtons();
    // Colours, tab controls, region and a full repaint, after a skin change.
    void RefreshAfterSkinChange();
    // The window is going: Restore must leave the form's colour alone.
    void WindowDestroying();

    HWND Handle() const { return handle_; }
    TForm* Form() const { return form_; }
    bool PlainWindowMode() const { return form_ == nullptr; }
    TSkinData& SkinData() const { return *skinData_; }
    int SkinState() const { return skinState_; }
    bool Active() const { return active_; }
    // The frame: left, top, right and bottom border widths, and the drawn menu bar's height.
    int BorderLeft() const { return left_; }
    int BorderTop() const { return top_; }
    int BorderRight() const { return right_; }
    int BorderBottom() const { return bottom_; }
    int MenuBarHeight() const { return menuHeight_; }

    // The painters of the window's controls, owned here and released by Restore.
    std::vector<std::unique_ptr<TSkinControl>>& Controls() { return controls_; }
    // The control under the mouse (its painter gets the mouse-leave notification when the
    // pointer leaves it or another control becomes hot).
    TSkinControl* HotControl() const { return hotControl_; }
    void SetHotControl(TSkinControl* control) { hotControl_ = control; }
    // The drawn menu bar, or nullptr.
    TSkinMenuBar* MenuBar() const { return menuBar_.get(); }
    // The window's icon at the small-icon size on magenta, for the caption.
    TBitmap& IconBitmap() { return iconBitmap_; }
    const std::vector<std::unique_ptr<TWinSysButton>>& CaptionButtons() const { return captionButtons_; }

    // Paints the whole non-client area onto a device context of the window.
    void PaintFrame(HDC windowDC);
    void BuildRegion();

private:
    // The replacement window procedure and the form's message hook.
    static LRESULT CALLBACK SkinWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormMessage(TMessage& message, const TWndMethod& next);

    HWND handle_;
    TForm* form_ = nullptr;
    TSkinData* skinData_ = nullptr;
    WNDPROC previousProc_ = nullptr;
    TMessageHookToken formHook_ = 0;
    int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0, menuHeight_ = 0;
    int windowKind_ = wkOrdinary;
    int captionKind_ = 3;
    bool hadSysMenu_ = false, hadMinimize_ = false, hadMaximize_ = false;
    int windowState_ = 0;  // 0 normal, 1 maximised, 2 minimised
    bool active_ = false;
    int skinState_ = ssAttached;
    bool attached_ = false;
    std::vector<std::unique_ptr<TWinSysButton>> captionButtons_;
    TNCObject* hotObject_ = nullptr;
    TBitmap iconBitmap_;
    TFontHandle captionFont_;
    RECT captionTextRect_{};
    TRegionHandle region_;
    SIZE regionSize_{};
    UINT_PTR timer_ = 0;
    std::vector<std::unique_ptr<TSkinControl>> controls_;
    TSkinControl* hotControl_ = nullptr;
    std::unique_ptr<TSkinMenuBar> menuBar_;
    int formColor_ = 0;
    SIZE clientSize_{};
    std::string caption_, className_;
};
