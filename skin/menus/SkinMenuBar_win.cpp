// The drawn menu bar: its items read from the window's menu (or the form's menu component),
// laid out and painted from the skin's menu-bar background.
#include "skin/menus/SkinMenuBar_win.h"

#include <algorithm>

#include "skin/stored/SkinData_win.h"
#include "skin/menus/SkinMenuBarHost_win.h"
#include "skin/menus/SkinMenuLayout.h"
#include "skin/menus/SkinMenuManager_win.h"
#include "skin/menus/SkinMenuScratch_win.h"
#include "skin/draw/SkinPaint_win.h"
#include "skin/draw/SkinWindowDC_win.h"
#include "skin/draw/SkinWindowPoints_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/Menus_win.h"
#include "skin/menus/SkinMenuItems_win.h"
#include "toolkit/WideText_win.h"
#include "toolkit/ScreenDevice_win.h"

namespace {

constexpr int kActiveCell = 1;
constexpr int kInactiveCell = 2;
constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

int CaptionWidth(HDC dc, const std::string& caption) {
    if (caption.empty()) return 0;
    RECT measured{0, 0, 0, 0};
    DrawTextOf(dc, caption, &measured, kCaptionFormat | DT_CALCRECT);
    return measured.right - measured.left;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    TBrushHandle brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.Get());
}

}  // namespace

// ---- TMenuBtn ----

TMenuBtn::TMenuBtn(TSkinMenuBar& bar) : TNCObject(bar.Window().Handle()), bar_(bar) {}

void TMenuBtn::Paint(HDC windowDC) {
    const RECT& bar = bar_.BarRect();
    int width = Bounds.right - Bounds.left, height = Bounds.bottom - Bounds.top;
    if (!windowDC || !bar_.Background() || width <= 0 || height <= 0) return;
    try {
        TMenuScratch room({width, height});
        TMemoryDC background(windowDC);
        TSelection backgroundSelected(background.Get(), bar_.Background());
        if (!room) return;
        BitBlt(room.Get(), 0, 0, width, height, background.Get(), Bounds.left - bar.left, Bounds.top - bar.top,
               SRCCOPY);
        bar_.DrawItemFace(room.Get(), {0, 0, width, height}, *this);
        BitBlt(windowDC, Bounds.left, Bounds.top, width, height, room.Get(), 0, 0, SRCCOPY);
    } catch (...) {
        // Painting errors leave the item as it was.
    }
}

void TMenuBtn::MenuClosed() {
    POINT cursor{};
    GetCursorPos(&cursor);
    ShowState(Contains(ScreenToWindowPoint(Window(), cursor)) ? MouseOver : Normal);
}

void TMenuBtn::ShowState(int state) {
    if (Framed(state) == Framed(State))
        State = state;
    else
        SetState(state);
}

// ---- TSkinMenuBar ----

TSkinMenuBar::TSkinMenuBar(TMenuBarHost& window) : window_(window) {}

TSkinMenuBar::~TSkinMenuBar() = default;

void TSkinMenuBar::Rebuild() {
    HWND handle = window_.Handle();
    if (HMENU current = GetMenu(handle)) {
        menu_ = current;
        menuTaken_ = true;
    }
    ReadItems();
    if (GetMenu(handle)) SetMenu(handle, nullptr);
    // A changed menu shows at once where the bar was drawn before.
    if (barRect_.right > barRect_.left) {
        TWholeWindowDC dc(handle);
        if (dc) Paint(dc.Get(), barRect_);
    }
}

// The items are made once and kept (a shorter menu leaves the extra ones without a caption):
// the frame may hold one of them as its hot object across a rebuild.
void TSkinMenuBar::ReadItems() {
    int count = menu_ && IsMenu(menu_) ? GetMenuItemCount(menu_) : 0;
    while (static_cast<int>(items_.size()) < count) items_.push_back(std::make_unique<TMenuBtn>(*this));
    for (int position = 0; position < static_cast<int>(items_.size()); ++position) {
        TMenuBtn& button = *items_[static_cast<size_t>(position)];
        button.Caption.clear();
        button.ItemEnabled = true;
        button.Submenu = nullptr;
        button.Command = 0;
        button.HasCommand = false;
        button.Index = position;
        if (position >= count) {
            button.Bounds = {};
            continue;
        }
        std::wstring text;
        MENUITEMINFOW info;
        UINT mask = MIIM_STRING | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (QueryMenuItem(menu_, static_cast<UINT>(position), mask, info, &text)) {
            // The bar holds the program's own menus: their texts and accelerators are its own.
            button.Caption = SkinMenuLayout::LimitCaption(AnsiFromWide(text));
            button.ItemEnabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
            button.Submenu = info.hSubMenu;
            button.Command = info.wID;
            button.HasCommand = !info.hSubMenu || window_.Form();
        }
        if (button.Caption.empty()) ReadItemFromComponent(button, position);
    }
}

// An item whose text the menu does not hold (an owner-drawn one) takes what the form's menu
// component knows of the item at its place.
void TSkinMenuBar::ReadItemFromComponent(TMenuBtn& button, int position) {
    TForm* form = window_.Form();
    TMainMenu* menu = form ? form->Menu() : nullptr;
    if (!menu) return;
    TMenuItem* root = menu->Items();
    int visible = -1;
    for (int i = 0; i < root->Count(); ++i) {
        TMenuItem* item = root->Items(i);
        if (!item->Visible() || ++visible != position) continue;
        button.Caption = SkinMenuLayout::LimitCaption(item->Caption());
        button.ItemEnabled = item->Enabled();
        button.Command = item->Command();
        button.HasCommand = true;
        button.Submenu = item->Count() > 0 ? item->Handle() : nullptr;
        return;
    }
}

void TSkinMenuBar::Restore() {
    // A window that is going would take the menu with it; its owner frees the menu itself.
    bool going = window_.Destroying() || !IsWindow(window_.Handle());
    UnmarkOwnerDrawn(!going);
    HWND handle = window_.Handle();
    if (!going && menuTaken_ && menu_ && IsMenu(menu_) && !GetMenu(handle)) SetMenu(handle, menu_);
    menuTaken_ = false;
    background_.Reset();
}

TMenuBtn* TSkinMenuBar::ItemAt(POINT windowPoint) {
    for (auto& item : items_)
        if (!item->Caption.empty() && item->Contains(windowPoint)) return item.get();
    return nullptr;
}

TMenuBtn* TSkinMenuBar::ItemForAccelerator(char character) {
    for (auto& item : items_)
        if (SkinMenuLayout::SameAccelerator(SkinMenuLayout::AcceleratorOf(item->Caption), character)) return item.get();
    return nullptr;
}

// ---- painting ----

void TSkinMenuBar::Paint(HDC windowDC, const RECT& rect) {
    SIZE size{rect.right - rect.left, rect.bottom - rect.top};
    barRect_ = rect;
    if (!windowDC || size.cx <= 0 || size.cy <= 0 || window_.SkinData().NotReady()) return;
    TBitmapHandle bitmap(CreateCompatibleBitmapFor(windowDC, size.cx, size.cy));
    TMemoryDC memory(windowDC);
    if (!bitmap || !memory) return;
    TSelection selected(memory.Get(), bitmap.Get());
    PaintBackground(memory.Get(), size);
    // The background alone, for redrawing single items.
    background_.Reset(CreateCompatibleBitmapFor(windowDC, size.cx, size.cy));
    if (background_) {
        TMemoryDC copy(windowDC);
        TSelection copySelected(copy.Get(), background_.Get());
        BitBlt(copy.Get(), 0, 0, size.cx, size.cy, memory.Get(), 0, 0, SRCCOPY);
    }
    TSelection font(memory.Get(), SkinMenuFont());
    LayOutItems(memory.Get(), rect);
    for (auto& item : items_) {
        if (item->Caption.empty()) continue;
        RECT place = item->Bounds;
        OffsetRect(&place, -rect.left, -rect.top);
        DrawItemFace(memory.Get(), place, *item);
    }
    PaintChildButtons(memory.Get(), rect);
    BitBlt(windowDC, rect.left, rect.top, size.cx, size.cy, memory.Get(), 0, 0, SRCCOPY);
}

void TSkinMenuBar::PaintBackground(HDC dc, SIZE size) const {
    TSkinData& data = window_.SkinData();
    RECT all{0, 0, size.cx, size.cy};
    TDataSkinObject* element = data.MenuBar.get();
    if (!element || !element->HasPicture()) {
        FillSolid(dc, all, ColorToRGB(data.Colours.Menubar));
        return;
    }
    // Behind transparent pixels of the picture the bar is the menu-bar colour.
    FillSolid(dc, all, ColorToRGB(data.Colours.Menubar));
    int cell = window_.Active() ? kActiveCell : kInactiveCell;
    TSkinElementStyle style = ElementStyle(*element);
    bool transparent = element->Trans == 1;
    if (element->Tile == 1) {
        DrawSkinElementTransparent(dc, all, *element->Picture, style, cell, transparent);
    } else {
        DrawHorizontalThreePart(dc, all, *element->Picture, element->LeftWidth, element->RightWidth, style, cell,
                                transparent);
    }
}

void TSkinMenuBar::LayOutItems(HDC dc, const RECT& bar) {
    TSkinData& data = window_.SkinData();
    bool hasBackground = data.MenuBar && data.MenuBar->HasPicture();
    int width = bar.right - bar.left;
    int left = SkinMenuLayout::FirstItemLeft(hasBackground, hasBackground ? data.MenuBar->LeftWidth : 0, width);
    std::vector<int> widths;
    for (auto& item : items_) widths.push_back(CaptionWidth(dc, item->Caption));
    std::vector<TSkinRect> places = SkinMenuLayout::LayOutBar({bar.left, bar.top, bar.right, bar.bottom}, left, widths);
    for (size_t i = 0; i < items_.size(); ++i) {
        const TSkinRect& place = places[i];
        items_[i]->Bounds = {place.left, place.top, place.right, place.bottom};
    }
}

void TSkinMenuBar::DrawItemFace(HDC dc, const RECT& place, const TMenuBtn& item) const {
    const TSkinColours& colours = window_.SkinData().Colours;
    if (TMenuBtn::Framed(item.State)) {
        TBrushHandle frame(CreateSolidBrush(ColorToRGB(colours.ButtonHilight)));
        FrameRect(dc, &place, frame.Get());
    }
    TSelection font(dc, SkinMenuFont());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, ColorToRGB(item.ItemEnabled ? colours.MenuBarText : colours.ButtonShadow));
    RECT text = place;
    DrawTextOf(dc, item.Caption, &text, kCaptionFormat);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

// A frame whose active multiple-document child is maximised shows the child's caption
// buttons at the bar's right end.
void TSkinMenuBar::PaintChildButtons(HDC dc, const RECT& bar) {
    if (!window_.IsMDIFrame()) return;
    HWND client = FindWindowExW(window_.Handle(), nullptr, L"MDIClient", nullptr);
    BOOL maximized = FALSE;
    if (client) SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
    SkinMenuManager::SetChildrenMaximized(maximized != FALSE);
    if (!maximized) return;
    // The buttons know their places in window coordinates.
    POINT oldOrigin{};
    SetViewportOrgEx(dc, -bar.left, -bar.top, &oldOrigin);
    window_.DrawMenuBarButtons(dc);
    SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
}
