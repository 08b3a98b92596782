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

#include "base/Component.h"
#include "picture/bmp/Bitmap_win.h"
#include "skin/controls/SkinControlHost_win.h"
#include "skin/draw/SkinNCObject_win.h"
#include "skin/menus/SkinMenuBarHost_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/GraphicsObjects_win.h"
#include "toolkit/Messages_win.h"

class TForm;
class TSkinData;
class TDataSkinSysButton;
class TSkinControl;
class TSkinMenuBar;
class TSkinForm;

// Private messages of skinned windows.
constexpr UINT WM_SKIN_REPAINTFRAME = 13570;   // repaint the frame
constexpr UINT WM_SKIN_FIRSTSHOW = 13571;      // first showing after attach (posted by the manager)
constexpr LPARAM kFirstShowMark = 1000;        // the lParam the manager posts it with
constexpr UINT WM_SKIN_BUTTONACTION = 13572;   // a caption button's own action, in wParam
constexpr UINT WM_SKIN_REFRESH = 13313;        // refresh after a skin change (form mode)

// One caption button of a skinned window, made from one of the skin's button definitions.
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TSkinForm& owner, std::shared_ptr<TDataSkinSysButton> definition);
    TDataSkinSysButton& Definition() const { return *definition_; }
    bool Visible = false;
    // Draws the button in the cell of its state; a button in the caption redraws the whole
    // caption so that its transparent pixels show the caption behind it.
    void Paint(HDC windowDC) override;
    // Draws just the button (into the caption being composed, or into the menu bar).
    void Draw(HDC dc);
    // A button of a maximised multiple-document child, drawn in the menu bar.
    bool InMenuBar() const;

private:
    TSkinForm& form_;
    std::shared_ptr<TDataSkinSysButton> definition_;
};

class TSkinForm : public TComponent, public TSkinControlHost, public TMenuBarHost {
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

    HWND Handle() const override { return handle_; }
    TForm* Form() const override { return form_; }
    bool PlainWindowMode() const { return form_ == nullptr; }
    TSkinData& SkinData() const override { return *skinData_; }
    int SkinState() const { return skinState_; }
    bool Destroying() const override { return skinState_ == ssDestroying; }
    bool Active() const override { return active_; }
    bool IsMDIFrame() const override { return windowKind_ == wkMDIFrame; }
    void DrawMenuBarButtons(HDC dc) override;
    // The frame: left, top, right and bottom border widths, and the drawn menu bar's height.
    int BorderLeft() const { return left_; }
    int BorderTop() const { return top_; }
    int BorderRight() const { return right_; }
    int BorderBottom() const { return bottom_; }
    int MenuBarHeight() const { return menuHeight_; }

    // The painters of the window's controls, owned here and released by Restore.
    std::vector<std::unique_ptr<TSkinControl>>& Controls() override { return controls_; }
    TSkinControl* HotControl() const override { return hotControl_; }
    void SetHotControl(TSkinControl* control) override { hotControl_ = control; }
    // The drawn menu bar, or nullptr.
    TSkinMenuBar* MenuBar() const { return menuBar_.get(); }
    // The window's icon at the small-icon size on magenta, for the caption.
    TBitmap& IconBitmap() { return iconBitmap_; }
    const std::vector<std::unique_ptr<TWinSysButton>>& CaptionButtons() const { return captionButtons_; }

    // Paints the whole non-client area onto a device context of the window.
    void PaintFrame(HDC windowDC);
    void BuildRegion();

    // The caption's title text area of the last paint (window coordinates).
    const RECT& CaptionTextRect() const { return captionTextRect_; }
    // Draws the caption (top border, title, caption buttons) onto a device context of the
    // whole window, composed off screen.
    void PaintCaption(HDC windowDC);
    // The frame as it should be now: sizes, caption buttons' places and visibility.
    bool IsMaximized() const { return windowState_ == 1; }
    bool IsMinimized() const { return windowState_ == 2; }
    int WindowKind() const { return windowKind_; }
    int CaptionKind() const { return captionKind_; }

private:
    friend class TWinSysButton;
    static constexpr UINT_PTR kMouseLeaveTimer = 0x534B;
    static constexpr UINT kMouseLeaveInterval = 250;  // ms between looks at where the pointer is
    static constexpr int kMinSizingGrip = 4;          // the sizing border is never thinner
    // The replacement window procedure and the form's message hook.
    static LRESULT CALLBACK SkinWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MDIClientProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormMessage(TMessage& message, const TWndMethod& next);
    // Attaching, in the order AttachWindow runs them.
    void ReadWindow();
    void MakeIconBitmap();
    void CreateMenuBar();
    void HookWindowProcedure();
    void RemoveSystemButtons();
    void PutSystemButtonsBack();
    void HookMDIClient();
    void UnhookMDIClient();
    void UnhookWindowProcedure();
    void FirstShow();
    // Re-positions the window in place so that the frame is measured and drawn again.
    void Reframe(UINT extraFlags = 0);
    // Messages of the replacement procedure (SkinFrameWindowProc_win.cpp).
    bool HandlesNonClient() const;
    bool TopLevelOrMDIChild() const;
    LRESULT NonClientMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnSize(WPARAM kind);
    void EraseClient(HDC dc);
    LRESULT OnTextOrIconSet(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnNCCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNCHitTest(LPARAM lParam);
    LRESULT OnNCActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColor(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnOwnerDraw(UINT msg, WPARAM wParam, LPARAM lParam);
    void ReadWindowState();
    void TextChanged();
    void MenuChanged();
    // Non-client mouse (SkinFrameMouse_win.cpp).
    POINT WindowPoint(LPARAM screenPoint) const;
    TWinSysButton* CaptionButtonAt(POINT windowPoint) const;
    TNCObject* NCObjectAt(POINT windowPoint) const;
    void SetHotObject(TNCObject* object);
    bool OnNCMouseMove(LPARAM lParam);
    bool OnNCLButtonDown(WPARAM wParam, LPARAM lParam);
    bool OnNCLButtonUp(LPARAM lParam);
    bool OnNCLButtonDblClk(WPARAM wParam);
    bool OnNCRButtonDown(WPARAM wParam, LPARAM lParam);
    bool OnDialogChar(char character);
    void OpenMenuItem(TNCObject& item);
    void PerformAction(TWinSysButton& button, POINT screenPoint);
    void ShowSystemMenu(POINT screenPoint);
    void MouseLeaveTimer();
    void StartTimer();
    void StopTimer();
    // Painting (SkinCaption_win.cpp).
    SIZE WindowSize() const;
    void LayOutCaptionButtons(int windowWidth);
    void PaintTitle(HDC dc, int windowWidth);
    void PaintCaptionButtons(HDC dc);
    void PaintBorders(HDC dc, SIZE window);
    void PaintButtonFaceStrip(HDC dc, SIZE window);
    void ComposeCaption(HDC dc, SIZE window);
    void DrawCaptionLayers(HDC dc, SIZE caption, int topCell);
    void BuildRegionFor(SIZE window, bool redraw);
    TRegionHandle FrameRegion(SIZE window);
    TRegionHandle CaptionRegion(SIZE window);

    HWND handle_;
    TForm* form_ = nullptr;
    TSkinData* skinData_ = nullptr;
    WNDPROC previousProc_ = nullptr;
    TMessageHookToken formHook_ = 0;
    bool windowHooked_ = false;  // AttachWindow ran and Restore has not
    int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0, menuHeight_ = 0;
    int windowKind_ = wkOrdinary;
    int captionKind_ = 3;
    bool hadSysMenu_ = false, hadMinimize_ = false, hadMaximize_ = false;
    DWORD style_ = 0, exStyle_ = 0;
    DWORD ownButtons_ = 0;  // the system buttons of the window's own style
    HMENU systemMenu_ = nullptr;
    int windowState_ = 0;  // 0 normal, 1 maximised, 2 minimised
    bool active_ = false;
    int skinState_ = ssAttached;
    bool destroying_ = false;
    std::vector<std::unique_ptr<TWinSysButton>> captionButtons_;
    TNCObject* hotObject_ = nullptr;
    TBitmap iconBitmap_;
    TFontHandle captionFont_;
    RECT captionTextRect_{};
    TBitmapHandle captionBitmap_;  // W × T, kept while the width stays
    SIZE captionBitmapSize_{};
    SIZE regionSize_{};
    bool regionStale_ = true;  // the skin changed since the region was built
    bool settingRegion_ = false;
    bool timerRunning_ = false;
    std::vector<std::unique_ptr<TSkinControl>> controls_;
    TSkinControl* hotControl_ = nullptr;
    std::unique_ptr<TSkinMenuBar> menuBar_;
    TColor formColor_ = 0;
    SIZE clientSize_{};   // measured under the system's frame at attach
    SIZE systemFrame_{};  // window size less client size under the system's frame
    HWND mdiClient_ = nullptr;
    WNDPROC mdiClientPrevious_ = nullptr;
    std::wstring caption_;  // as the window holds it: a dialog of the system has its language's
    std::string className_;
};

// The painters of a window's controls, chosen by the frame.
// Form mode: dresses the controls `parent` (a form or container) owns, at any depth.
void SkinFormControls(TSkinForm& window, TComponent& parent);
// Plain-window mode: dresses the window's child windows.
void SkinChildWindows(TSkinForm& window);
// The same with the skin data given (the window's own is used above).
void SkinFormControls(TSkinForm& window, TComponent& parent, TSkinData& skinData);
void SkinChildWindows(TSkinForm& window, TSkinData& skinData);
// The form's popup menus drawn by the skin (at attach and after a skin switch) or by the
// system again (Restore).
void SetFormMenusSkinned(TSkinForm& window, TForm& form, bool skinned);
