// The items of the drawn bar's menus: owner-drawn while the bar is on (measured and drawn
// from the skin), drawn by the system again in Restore.
#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "skin/stored/SkinData_win.h"
#include "skin/menus/SkinMenuBarHost_win.h"
#include "skin/menus/SkinMenuBar_win.h"
#include "skin/menus/SkinMenuItems_win.h"
#include "skin/menus/SkinMenuLayout.h"
#include "skin/menus/SkinMenuScratch_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/Menus_win.h"
#include "toolkit/WideText_win.h"

namespace {

// Where an item of a menu tree is: its menu and position.
struct TItemPlace {
    HMENU menu = nullptr;
    UINT position = 0;
};

// Finds the item with this command (or this submenu) in a menu and its submenus.
bool FindItem(HMENU menu, UINT command, TItemPlace& place, int depth = 0) {
    if (!menu || depth > 16) return false;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU submenu = GetSubMenu(menu, i);
        UINT id = GetMenuItemID(menu, i);
        if ((submenu && reinterpret_cast<UINT_PTR>(submenu) == command) || (!submenu && id == command)) {
            place = {menu, static_cast<UINT>(i)};
            return true;
        }
        if (submenu && FindItem(submenu, command, place, depth + 1)) return true;
    }
    return false;
}

bool IsOurDrawer(const TMenuItem& item) { return !item.OnDrawItem; }

// The width of a text on one line and the font's height, in the menu font (bold for a default
// item). Menus are measured every time they open, so what was measured once is kept.
SIZE MeasuredText(const std::wstring& text, bool bold) {
    static std::map<std::pair<std::wstring, bool>, SIZE> known;
    static HFONT knownFont = nullptr;
    HFONT font = SkinMenuFont();
    if (font != knownFont) {
        known.clear();
        knownFont = font;
    }
    auto found = known.find({text, bold});
    if (found != known.end()) return found->second;
    TMenuScratch room({1, 1});
    TFontHandle boldFont = bold ? BoldFontLike(font) : TFontHandle();
    TSelection selected(room.Get(), boldFont ? boldFont.Get() : font);
    RECT measured{0, 0, 0, 0};
    DrawTextOf(room.Get(), text, &measured,
              DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    TEXTMETRICW metrics{};
    GetTextMetricsW(room.Get(), &metrics);
    SIZE size{measured.right - measured.left, metrics.tmHeight};
    if (known.size() > 256) known.clear();
    known.emplace(std::make_pair(text, bold), size);
    return size;
}

}  // namespace

TMenuItem* TSkinMenuBar::ProgramItem(UINT command, ULONG_PTR data) const {
    TForm* form = window_.Form();
    TMainMenu* menu = form ? form->Menu() : nullptr;
    if (!menu) return nullptr;
    TMenuItem* item = MenuItemOfData(data);
    if (item && item->GetParentMenu() == menu) return item;
    return menu->FindItem(command);
}

bool TSkinMenuBar::OwnsMenuItem(ULONG_PTR data) const {
    if (menuOpen_) return true;
    TMenuItem* item = MenuItemOfData(data);
    TForm* form = window_.Form();
    return item && form && form->Menu() && item->GetParentMenu() == form->Menu();
}

bool TSkinMenuBar::MeasureItem(MEASUREITEMSTRUCT& measure) {
    if (measure.CtlType != ODT_MENU || !OwnsMenuItem(measure.itemData)) return false;
    TSkinMenuItemLook look;
    if (TMenuItem* item = ProgramItem(measure.itemID, measure.itemData)) {
        look = MenuItemLook(*item);
    } else {
        TItemPlace place;
        if (!FindItem(menu_, measure.itemID, place)) return false;
        look = SystemMenuItemLook(place.menu, place.position);
    }
    SIZE measured = MeasuredText(MenuItemMeasureText(look.caption, look.shortCut), look.isDefault);
    SkinMenuLayout::TItemSize size = SkinMenuLayout::MeasureBarMenuItem(
        measured.cx, std::max<int>(measured.cy, GetSystemMetrics(SM_CYMENU) - 4), look.separator, Windows9x());
    measure.itemWidth = static_cast<UINT>(size.width);
    measure.itemHeight = static_cast<UINT>(size.height);
    return true;
}

bool TSkinMenuBar::DrawItem(const DRAWITEMSTRUCT& draw) {
    if (draw.CtlType != ODT_MENU || !OwnsMenuItem(draw.itemData)) return false;
    HMENU menu = reinterpret_cast<HMENU>(draw.hwndItem);
    TSkinMenuItemLook look;
    if (TMenuItem* item = ProgramItem(draw.itemID, draw.itemData)) {
        // An item with a drawing handler of its own keeps it.
        if (!IsOurDrawer(*item)) return DispatchMenuDrawItem(&draw);
        look = MenuItemLook(*item);
    } else {
        TItemPlace place;
        if (!FindItem(menu, draw.itemID, place) && !FindItem(menu_, draw.itemID, place)) return false;
        menu = place.menu;
        look = SystemMenuItemLook(place.menu, place.position);
    }
    TSavedDCState state(draw.hDC);
    SelectObject(draw.hDC, SkinMenuFont());
    DrawSkinMenuItemLook(window_.SkinData(), draw.hDC, draw.rcItem, look, (draw.itemState & ODS_SELECTED) != 0, menu);
    return true;
}

void TSkinMenuBar::MarkOwnerDrawn(HMENU menu) {
    std::vector<HMENU> pending{menu};
    while (!pending.empty()) {
        HMENU current = pending.back();
        pending.pop_back();
        int count = GetMenuItemCount(current);
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW info;
            if (!QueryMenuItem(current, static_cast<UINT>(i), MIIM_FTYPE | MIIM_SUBMENU, info)) continue;
            if (info.hSubMenu && pending.size() < 64) pending.push_back(info.hSubMenu);
            if (info.fType & MFT_OWNERDRAW) continue;
            info.fMask = MIIM_FTYPE;
            info.fType |= MFT_OWNERDRAW;
            if (SetMenuItemInfoW(current, static_cast<UINT>(i), TRUE, &info))
                markedItems_.emplace_back(current, static_cast<UINT>(i));
        }
    }
}

void TSkinMenuBar::UnmarkOwnerDrawn(bool remakeProgramMenu) {
    for (const auto& [menu, position] : markedItems_) {
        MENUITEMINFOW info;
        if (!IsMenu(menu) || !QueryMenuItem(menu, position, MIIM_FTYPE, info)) continue;
        info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
        SetMenuItemInfoW(menu, position, TRUE, &info);
    }
    markedItems_.clear();
    // The program's menu is remade from its items, each as owner-drawn as its handlers say.
    TForm* form = window_.Form();
    if (remakeProgramMenu && form && !form->Destroying() && form->Menu()) form->Menu()->Rebuild();
}
