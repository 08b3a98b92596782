// Painting a skinned window's frame: the four borders, the caption composed off screen (top
// border, title, caption buttons), the menu bar, and the window's outline cut to the borders'
// opaque pixels.
#include <algorithm>

#include "skin/frame/SkinCaptionLayout.h"
#include "skin/stored/SkinFrameRules.h"
#include "skin/stored/SkinData_win.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/frame/SkinFrameManager_win.h"
#include "skin/menus/SkinMenuBar_win.h"
#include "skin/draw/SkinPaint_win.h"
#include "skin/draw/SkinWindowDC_win.h"
#include "toolkit/ScreenDevice_win.h"
#include "toolkit/WideText_win.h"

namespace {

RECT ToRect(const TSkinRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
TSkinRect ToSkinRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

TBitmapHandle RenderBorder(TDataSkinBorder& border, SIZE size, bool active) {
    if (size.cx <= 0 || size.cy <= 0) return TBitmapHandle();
    return DrawSkinElement(size, *border.Picture, ElementStyle(border), BorderCell(active, border.FrameCount));
}

// Draws the part of a border that lies in `clip`, straight onto `dc`.
void PaintBorderPart(HDC dc, TDataSkinBorder& border, const RECT& rect, const RECT& clip, bool active) {
    DrawSkinElementClipped(dc, rect, clip, *border.Picture, ElementStyle(border), BorderCell(active, border.FrameCount));
}

// The opaque pixels of a border drawn at `size`, placed at (x, y); the whole rectangle when the
// border is not transparent or too thin to be shaped.
TRegionHandle BorderRegion(TDataSkinBorder& border, SIZE size, int x, int y, bool solid) {
    if (size.cx <= 0 || size.cy <= 0) return TRegionHandle();
    if (border.Trans != 1 || solid || border.Picture->Empty())
        return TRegionHandle(CreateRectRgn(x, y, x + size.cx, y + size.cy));
    TBitmapHandle drawn = RenderBorder(border, size, true);
    return RegionFromBitmap(drawn.Get(), x, y, kSkinTransparent);
}

void AddRegion(TRegionHandle& region, const TRegionHandle& part) {
    if (part) CombineRgn(region.Get(), region.Get(), part.Get(), RGN_OR);
}

}  // namespace

SIZE TSkinForm::WindowSize() const {
    RECT window{};
    GetWindowRect(handle_, &window);
    return {window.right - window.left, window.bottom - window.top};
}

void TSkinForm::PaintFrame(HDC windowDC) {
    if ((skinState_ != ssSkinned && skinState_ != ssRefreshing) || !skinData_ || skinData_->NotReady()) return;
    if (windowKind_ == wkMDIChild && IsMaximized()) return;
    try {
        SIZE size = WindowSize();
        if (size.cx <= 0 || size.cy <= 0) return;
        PaintBorders(windowDC, size);
        PaintButtonFaceStrip(windowDC, size);
        if (menuBar_ && menuHeight_ > 0) menuBar_->Paint(windowDC, {left_, top_, size.cx - right_, top_ + menuHeight_});
    } catch (...) {
        hotObject_ = nullptr;
    }
}

// The side borders run the window's whole height; their top rows are the caption's ends and
// are drawn with it.
void TSkinForm::PaintBorders(HDC dc, SIZE window) {
    TSkinData& data = *skinData_;
    int top = std::min<int>(top_, window.cy);
    RECT left{0, 0, left_, window.cy}, right{window.cx - right_, 0, window.cx, window.cy};
    PaintBorderPart(dc, data.Left, left, {left.left, top, left.right, left.bottom}, active_);
    PaintBorderPart(dc, data.Right, right, {right.left, top, right.right, right.bottom}, active_);
    RECT bottom{left_, window.cy - bottom_, window.cx - right_, window.cy};
    PaintBorderPart(dc, data.Bottom, bottom, bottom, active_);
    ComposeCaption(dc, window);
}

void TSkinForm::PaintCaption(HDC windowDC) {
    if ((skinState_ != ssSkinned && skinState_ != ssRefreshing) || !skinData_ || skinData_->NotReady()) return;
    try {
        ComposeCaption(windowDC, WindowSize());
    } catch (...) {
        hotObject_ = nullptr;
    }
}

// The caption is drawn into a bitmap kept while the window's width stays, then copied to the
// screen in one piece. The top border is drawn opaque: the pixels it marks transparent lie
// outside the window's region.
void TSkinForm::ComposeCaption(HDC dc, SIZE window) {
    int height = std::min<int>(top_, window.cy);
    if (height <= 0 || window.cx <= 0) return;
    if (!captionBitmap_ || captionBitmapSize_.cx != window.cx || captionBitmapSize_.cy != height) {
        captionBitmap_.Reset(CreateCompatibleBitmapFor(dc, window.cx, height));
        captionBitmapSize_ = {window.cx, height};
        if (!captionBitmap_) return;
    }
    TMemoryDC caption(dc);
    TSelection selected(caption.Get(), captionBitmap_.Get());
    TSkinData& data = *skinData_;
    PaintBorderPart(caption.Get(), data.Left, {0, 0, left_, window.cy}, {0, 0, left_, height}, active_);
    PaintBorderPart(caption.Get(), data.Right, {window.cx - right_, 0, window.cx, window.cy},
                    {window.cx - right_, 0, window.cx, height}, active_);
    DrawCaptionLayers(caption.Get(), {window.cx, height}, BorderCell(active_, data.Top.FrameCount));
    BitBlt(dc, 0, 0, window.cx, height, caption.Get(), 0, 0, SRCCOPY);
}

// The top border's cell between the side borders, the title over it, and the caption buttons.
void TSkinForm::DrawCaptionLayers(HDC dc, SIZE caption, int topCell) {
    TDataSkinBorder& top = skinData_->Top;
    DrawSkinElementTransparent(dc, {left_, 0, caption.cx - right_, caption.cy}, *top.Picture, ElementStyle(top),
                               topCell, false);
    PaintTitle(dc, caption.cx);
    LayOutCaptionButtons(caption.cx);
    PaintCaptionButtons(dc);
}

void TSkinForm::PaintTitle(HDC dc, int windowWidth) {
    TDataSkinTitle& title = skinData_->Title;
    std::wstring text = L"   " + caption_;
    TSelection font(dc, captionFont_.Get());
    SIZE extent = TextExtentOf(dc, text);
    TTitleMetrics metrics{title.TextAlignment, title.TextShift(), title.TextShiftVert(), title.TextRightClip(),
                          title.BackLeft, title.BackRight};
    TSkinRect area = TitleTextRect(metrics, extent.cx, extent.cy, windowWidth, top_);
    captionTextRect_ = ToRect(area);
    if (area.Empty()) return;
    if (title.HasPicture()) {
        RECT back{area.left, 0, area.right, top_};
        DrawHorizontalThreePart(dc, back, *title.Picture, title.BackLeft, title.BackRight, ElementStyle(title),
                                active_ ? 1 : 2, true);
    }
    TSkinColours& colours = skinData_->Colours;
    COLORREF oldColour = SetTextColor(dc, ColorToRGB(active_ ? colours.TitleTextActive : colours.TitleTextInactive));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT textRect{area.left + title.BackLeft, area.top, area.right - title.BackRight, area.bottom};
    DrawTextOf(dc, text, &textRect,
              DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_LEFT | DT_VCENTER);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
}

void TSkinForm::LayOutCaptionButtons(int windowWidth) {
    TCaptionFacts facts;
    facts.captionKind = captionKind_;
    facts.hadSystemMenu = hadSysMenu_;
    facts.hadMinimize = hadMinimize_;
    facts.hadMaximize = hadMaximize_;
    facts.maximized = IsMaximized();
    facts.active = active_;
    facts.childMaximizedInMenuBar = windowKind_ == wkMDIFrame && menuBar_ && SkinFrameManager::ChildrenMaximized();
    TCaptionSpace space;
    space.windowWidth = windowWidth;
    space.borderRight = right_;
    space.titleRect = ToSkinRect(captionTextRect_);
    space.menuTop = top_;
    space.menuHeight = menuHeight_;
    space.menuBackLeft = skinData_->MenuBar ? skinData_->MenuBar->LeftWidth : 0;
    for (auto& button : captionButtons_) {
        TDataSkinSysButton& definition = button->Definition();
        TBitmap& picture = *definition.Picture;
        button->Visible = !picture.Empty() && CaptionButtonVisible(definition.Action, definition.Visibility,
                                                                   definition.Visibility1, facts);
        TCaptionButtonPlacement placement{definition.Align, definition.XCoord, definition.YCoord,
                                          picture.Width() / std::max(1, definition.FrameCount), picture.Height()};
        button->Bounds = ToRect(CaptionButtonRect(placement, space));
        if (!button->Visible && hotObject_ == button.get()) hotObject_ = nullptr;
    }
}

void TSkinForm::PaintCaptionButtons(HDC dc) {
    for (auto& button : captionButtons_) {
        if (button->Visible && !button->InMenuBar()) button->Draw(dc);
    }
}

// Where the caption and menu bar are lower than the system's caption, the rest of that height
// shows the skin's button face.
void TSkinForm::PaintButtonFaceStrip(HDC dc, SIZE window) {
    int systemTop = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    if (top_ + menuHeight_ >= systemTop) return;
    RECT strip{left_, top_, window.cx - right_, systemTop - menuHeight_};
    FillRect(dc, &strip, skinData_->ButtonFaceBrush());
}

void TSkinForm::BuildRegion() { BuildRegionFor(WindowSize(), true); }

void TSkinForm::BuildRegionFor(SIZE size, bool redraw) {
    if (!skinData_ || skinData_->NotReady() || size.cx <= 0 || size.cy <= 0 || settingRegion_) return;
    if (windowKind_ == wkMDIChild && IsMaximized()) return;
    bool sameSize = size.cx == regionSize_.cx && size.cy == regionSize_.cy;
    if (sameSize && !regionStale_ && windowKind_ != wkMDIChild) return;
    if (captionKind_ == 2) return;  // no frame, no outline
    TRegionHandle region = FrameRegion(size);
    if (!region) return;
    // Setting the region measures the frame again at the window's present size; a size change
    // it reports must not cut a second region inside this one.
    settingRegion_ = true;
    BOOL set = SetWindowRgn(handle_, region.Get(), redraw);
    settingRegion_ = false;
    if (set) region.Release();  // the window owns it now
    regionSize_ = size;
    regionStale_ = false;
}

TRegionHandle TSkinForm::FrameRegion(SIZE size) {
    TSkinData& data = *skinData_;
    if (data.Left.Trans != 1 && data.Right.Trans != 1 && data.Top.Trans != 1)
        return TRegionHandle(CreateRectRgn(0, 0, size.cx, size.cy));
    TRegionHandle region(CreateRectRgn(left_, top_, size.cx - right_, size.cy - bottom_));
    if (!region) return region;
    AddRegion(region, BorderRegion(data.Left, {left_, size.cy}, 0, 0, size.cy <= 1));
    AddRegion(region, BorderRegion(data.Right, {right_, size.cy}, size.cx - right_, 0, size.cy <= 1));
    AddRegion(region, BorderRegion(data.Bottom, {size.cx - left_ - right_, bottom_}, left_, size.cy - bottom_,
                                   bottom_ < 2));
    AddRegion(region, CaptionRegion(size));
    return region;
}

// The caption's outline: the top border's opaque pixels and whatever the title and the caption
// buttons draw, composed on magenta.
TRegionHandle TSkinForm::CaptionRegion(SIZE size) {
    TDataSkinBorder& top = skinData_->Top;
    if (top_ <= 0) return TRegionHandle();
    if (top.Trans != 1 || top_ <= 1) return TRegionHandle(CreateRectRgn(left_, 0, size.cx - right_, top_));
    TBitmapHandle mask(CreateScreenBitmap(size.cx, top_));
    if (!mask) return TRegionHandle();
    {
        TMemoryDC dc;
        TSelection selected(dc.Get(), mask.Get());
        TBrushHandle magenta(CreateSolidBrush(kSkinTransparent));
        RECT all{0, 0, size.cx, top_};
        FillRect(dc.Get(), &all, magenta.Get());
        DrawCaptionLayers(dc.Get(), {size.cx, top_}, 1);
    }
    return RegionFromBitmap(mask.Get(), 0, 0, kSkinTransparent);
}

TWinSysButton::TWinSysButton(TSkinForm& owner, std::shared_ptr<TDataSkinSysButton> definition)
    : TNCObject(owner.Handle()), form_(owner), definition_(std::move(definition)) {}

void TSkinForm::DrawMenuBarButtons(HDC dc) {
    for (const auto& button : captionButtons_)
        if (button->Visible && button->InMenuBar()) button->Draw(dc);
}

bool TWinSysButton::InMenuBar() const { return definition_->Visibility == kMenuBarVisibility; }

void TWinSysButton::Draw(HDC dc) {
    TSkinForm& window = form_;
    if (ShowsWindowIcon(definition_->Action)) {
        DrawCell(dc, Bounds, window.IconBitmap(), true, 1, 1);
        return;
    }
    int frames = std::max(1, definition_->FrameCount);
    DrawCell(dc, Bounds, *definition_->Picture, true, frames, CaptionButtonCell(State, InMenuBar(), window.Active(), frames));
}

void TWinSysButton::Paint(HDC windowDC) {
    if (InMenuBar()) {
        Draw(windowDC);
    } else {
        form_.PaintCaption(windowDC);
    }
}
