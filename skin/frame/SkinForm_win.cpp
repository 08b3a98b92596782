// Attaching a skinned frame to a window and taking it off again; the skin data it wears.
#include "skin/frame/SkinForm_win.h"

#include <algorithm>

#include "skin/frame/SkinCaptionLayout.h"
#include "skin/stored/SkinFrameRules.h"
#include "skin/controls/SkinControl_win.h"
#include "skin/draw/SkinWindowClass_win.h"
#include "skin/stored/SkinData_win.h"
#include "skin/frame/SkinFrameManager_win.h"
#include "skin/menus/SkinMenuBar_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/WideText_win.h"

namespace {

constexpr DWORD kSystemButtons = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr UINT kPlaceInPlace = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

SIZE Size(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

// The system's caption font.
HFONT CreateCaptionFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return CreateFontIndirectW(&metrics.lfCaptionFont);
}

bool IsStockObject(HGDIOBJ object) { return object == GetStockObject(DEFAULT_GUI_FONT); }

}  // namespace

TSkinForm::TSkinForm(HWND window) : TComponent(nullptr), handle_(window) {}

TSkinForm::~TSkinForm() {
    try {
        Restore();
    } catch (...) {
    }
    if (IsStockObject(captionFont_.Get())) captionFont_.Release();
}

void TSkinForm::AttachForm(TSkinData& skinData, TForm& form) {
    if (windowHooked_ || skinData.NotReady()) return;
    form_ = &form;
    formHook_ = form.AddMessageHook([this](TMessage& message, const TWndMethod& next) { FormMessage(message, next); });
    AttachWindow(skinData);
    if (!windowHooked_) {
        form.RemoveMessageHook(formHook_);
        formHook_ = 0;
        form_ = nullptr;
        return;
    }
    formColor_ = form.Color();
    form.SetColor(skinData.Colours.ButtonFace);
    SetFormMenusSkinned(*this, form, true);
}

void TSkinForm::AttachWindow(TSkinData& skinData) {
    if (windowHooked_ || skinData.NotReady() || !IsWindow(handle_)) return;
    skinData_ = &skinData;
    ReadWindow();
    CreateMenuBar();
    HookWindowProcedure();
    if (!(windowKind_ == wkMDIChild && SkinFrameManager::ChildrenMaximized())) RemoveSystemButtons();
    if (windowKind_ == wkMDIFrame) HookMDIClient();
    ApplySkinData();
    if (form_) {
        SkinFormControls(*this, *form_);
    } else {
        SkinChildWindows(*this);
    }
    RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
}

// Step 1 and 2 of attaching: what the window is like under the system's frame.
void TSkinForm::ReadWindow() {
    captionFont_.Reset(CreateCaptionFont());
    style_ = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE));
    exStyle_ = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_EXSTYLE));
    systemMenu_ = GetSystemMenu(handle_, FALSE);
    MakeIconBitmap();
    caption_ = WideWindowTextOf(handle_);
    className_ = WindowClassName(handle_);
    RECT window, client;
    GetWindowRect(handle_, &window);
    GetClientRect(handle_, &client);
    clientSize_ = Size(client);
    systemFrame_ = {Size(window).cx - clientSize_.cx, Size(window).cy - clientSize_.cy};

    ownButtons_ = style_ & kSystemButtons;
    hadSysMenu_ = (style_ & WS_SYSMENU) != 0 || systemMenu_ != nullptr;
    hadMinimize_ = (style_ & WS_MINIMIZEBOX) != 0;
    hadMaximize_ = (style_ & WS_MAXIMIZEBOX) != 0;
    ReadWindowState();
    windowKind_ = wkOrdinary;
    if (FindWindowExW(handle_, nullptr, L"MDIClient", nullptr)) windowKind_ = wkMDIFrame;
    if (exStyle_ & WS_EX_MDICHILD) windowKind_ = wkMDIChild;
    if ((exStyle_ & WS_EX_WINDOWEDGE) || (style_ & WS_THICKFRAME)) {
        captionKind_ = 0;
    } else if ((style_ & WS_POPUP) && (style_ & WS_CAPTION) != WS_CAPTION) {
        captionKind_ = 2;
    } else {
        captionKind_ = 3;
    }
}

void TSkinForm::ReadWindowState() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(handle_, &placement);
    if (placement.showCmd == SW_SHOWMINIMIZED || IsIconic(handle_)) {
        windowState_ = 2;
    } else if (placement.showCmd == SW_SHOWMAXIMIZED || IsZoomed(handle_)) {
        windowState_ = 1;
    } else {
        windowState_ = 0;
    }
}

// The window's small icon on magenta; a window without one shows its skin's shared icon, or
// the icon of the main windows' skin.
void TSkinForm::MakeIconBitmap() {
    int width = GetSystemMetrics(SM_CXSMICON), height = GetSystemMetrics(SM_CYSMICON);
    auto icon = reinterpret_cast<HICON>(SendMessageW(handle_, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(handle_, WM_GETICON, ICON_BIG, 0));
    // As the system's own caption: a window given no icon shows its class's.
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(handle_, GCLP_HICON));
    if (!icon) {
        TSkinData* donor = !skinData_->SharedIcon().Empty() ? skinData_ : SkinFrameManager::IconDonor();
        if (donor) {
            iconBitmap_.Assign(&donor->SharedIcon());
            return;
        }
    }
    iconBitmap_.SetSize(width, height);
    TCanvas& canvas = iconBitmap_.Canvas();
    canvas.Brush().SetColor(clFuchsia);
    canvas.FillRect(RECT{0, 0, width, height});
    if (icon) DrawIconEx(canvas.Handle(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
}

// Step 3: the drawn menu bar takes the window's menu away; the frame makes room for it only
// when it really did.
void TSkinForm::CreateMenuBar() {
    menuHeight_ = 0;
    if (!GetMenu(handle_) || windowKind_ == wkMDIChild) return;
    menuBar_ = std::make_unique<TSkinMenuBar>(*this);
    menuBar_->Rebuild();
    if (!GetMenu(handle_)) menuHeight_ = GetSystemMetrics(SM_CYMENU);
}

void TSkinForm::RemoveSystemButtons() {
    DWORD style = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE));
    if (style & kSystemButtons) SetWindowLongPtrW(handle_, GWL_STYLE, static_cast<LONG_PTR>(style & ~kSystemButtons));
}

void TSkinForm::PutSystemButtonsBack() {
    DWORD style = static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE));
    if ((style & ownButtons_) != ownButtons_)
        SetWindowLongPtrW(handle_, GWL_STYLE, static_cast<LONG_PTR>(style | ownButtons_));
}

void TSkinForm::ApplySkinData() {
    if (!skinData_ || skinData_->NotReady()) return;
    TSkinData& data = *skinData_;
    auto picture = [](TDataSkinBorder& border) {
        return TBorderPicture{border.Picture->Width(), border.Picture->Height(), border.FrameCount};
    };
    TFrameSizes sizes = FrameSizesFromBorders(picture(data.Left), picture(data.Right), picture(data.Top),
                                              picture(data.Bottom), captionKind_ == 2, menuHeight_);
    left_ = sizes.left;
    top_ = sizes.top;
    right_ = sizes.right;
    bottom_ = sizes.bottom;
    menuHeight_ = sizes.menu;
    DiscardCaptionButtons();
    regionStale_ = true;
    for (auto& definition : data.SysButtons) {
        if (ShowsWindowIcon(definition->Action)) {
            if (definition->Picture->Empty()) definition->Picture->Assign(&iconBitmap_);
            if (data.SharedIcon().Empty()) data.SharedIcon().Assign(&iconBitmap_);
            definition->FrameCount = 1;
        }
        captionButtons_.push_back(std::make_unique<TWinSysButton>(*this, definition));
    }
}

void TSkinForm::DiscardCaptionButtons() {
    for (auto& button : captionButtons_)
        if (hotObject_ == button.get()) hotObject_ = nullptr;
    captionButtons_.clear();
}

void TSkinForm::FirstShow() {
    if (skinState_ == ssAttached) {
        if (windowKind_ == wkMDIChild && SkinFrameManager::ChildrenMaximized()) {
            PutSystemButtonsBack();
        } else {
            skinState_ = ssFirstSizing;
            // Painting waits for the full repaint below.
            if (IsMaximized()) {
                Reframe(SWP_DEFERERASE);
            } else {
                // The outline is cut before the window grows, so its corners never show.
                SIZE framed{clientSize_.cx + left_ + right_, clientSize_.cy + top_ + menuHeight_ + bottom_};
                BuildRegionFor(framed, false);
                SetWindowPos(handle_, nullptr, 0, 0, framed.cx, framed.cy, kPlaceInPlace | SWP_DEFERERASE);
            }
            skinState_ = ssSkinned;
            BuildRegion();
            // The client area moved within the window: everything is drawn anew.
            RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
        }
    }
    skinState_ = ssSkinned;
    StartTimer();
}

void TSkinForm::Reframe(UINT extraFlags) {
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, kPlaceInPlace | SWP_NOSIZE | extraFlags);
}

void TSkinForm::RefreshAfterSkinChange() {
    if (!windowHooked_ || !skinData_ || skinData_->NotReady()) return;
    TColor face = skinData_->Colours.ButtonFace;
    if (form_) {
        form_->SetColor(face);
        form_->ForEachComponent([face](TComponent* component) {
            if (auto* embedded = dynamic_cast<TForm*>(component)) embedded->SetColor(face);
        });
    }
    RefreshSkinControls(*this);
    skinState_ = ssRefreshing;
    if (form_) SetFormMenusSkinned(*this, *form_, true);
    // The new outline is cut once, for the size the window is about to take; the resize then
    // leaves all painting to the one full repaint below.
    SIZE framed = WindowSize();
    if (!IsMaximized()) {
        RECT client;
        GetClientRect(handle_, &client);
        framed = {client.right + left_ + right_, client.bottom + top_ + bottom_ + menuHeight_};
    }
    BuildRegionFor(framed, false);
    if (IsMaximized()) {
        Reframe(SWP_DEFERERASE);
    } else {
        SetWindowPos(handle_, nullptr, 0, 0, framed.cx, framed.cy, kPlaceInPlace | SWP_DEFERERASE);
    }
    skinState_ = ssSkinned;
    RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TSkinForm::WindowDestroying() {
    destroying_ = true;
    skinState_ = ssDestroying;
}

void TSkinForm::Restore() {
    if (!windowHooked_) return;
    StopTimer();
    hotObject_ = nullptr;
    bool windowExists = IsWindow(handle_) != FALSE;
    if (windowExists) PutSystemButtonsBack();
    if (form_ && formHook_) form_->RemoveMessageHook(formHook_);
    formHook_ = 0;
    RECT window{};
    if (windowExists) GetWindowRect(handle_, &window);
    UnhookWindowProcedure();
    ReleaseSkinControls(*this);
    hotControl_ = nullptr;
    if (form_) {
        SetFormMenusSkinned(*this, *form_, false);
        if (!destroying_) form_->SetColor(formColor_);
    }
    if (menuBar_) {
        menuBar_->Restore();
        menuBar_.reset();
    }
    UnhookMDIClient();
    DiscardCaptionButtons();
    windowHooked_ = false;
    if (!windowExists || destroying_) return;
    bool framed = skinState_ != ssAttached;
    skinState_ = ssAttached;
    SIZE size = Size(window);
    if (framed && !IsMaximized() && !IsMinimized()) {
        SetWindowPos(handle_, nullptr, 0, 0, size.cx - left_ - right_ + systemFrame_.cx,
                     size.cy - top_ - bottom_ - menuHeight_ + systemFrame_.cy, kPlaceInPlace);
    } else {
        Reframe();
    }
    SetWindowRgn(handle_, nullptr, TRUE);
    regionSize_ = {};
    RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
}
