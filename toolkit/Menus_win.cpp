#include "toolkit/Menus_win.h"
#include "toolkit/ScreenDevice_win.h"

#include <algorithm>
#include <map>

#include "base/Exceptions.h"
#include "toolkit/Application_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/GdiGuards_win.h"
#include "toolkit/Screen_win.h"
#include "toolkit/WideText_win.h"

namespace {

// Command identifiers start above the dialog answers (IDOK, IDCANCEL, ...) that a window's
// WM_COMMAND also carries.
constexpr UINT kFirstCommand = 0x100;
constexpr UINT kLastCommand = 0xEFFF;

std::map<UINT, TMenuItem*>& LiveItems() {
    static std::map<UINT, TMenuItem*> items;
    return items;
}

UINT AllocateCommand(TMenuItem* item) {
    static UINT next = kFirstCommand;
    for (UINT tries = 0; tries <= kLastCommand - kFirstCommand; ++tries) {
        UINT command = next;
        next = next == kLastCommand ? kFirstCommand : next + 1;
        if (LiveItems().emplace(command, item).second) return command;
    }
    throw EOutOfResources(ErrorText::TooManyMenuItems);
}

TMenuItem* LiveItem(ULONG_PTR data) {
    for (const auto& entry : LiveItems())
        if (reinterpret_cast<ULONG_PTR>(entry.second) == data) return entry.second;
    return nullptr;
}

}  // namespace

std::string MenuItemMeasureText(const std::string& caption, const std::string& shortCut) {
    return shortCut.empty() ? caption : caption + "    " + shortCut;
}

std::wstring MenuItemMeasureText(const std::wstring& caption, const std::wstring& shortCut) {
    return shortCut.empty() ? caption : caption + L"    " + shortCut;
}

namespace {

void MeasureByText(TMenuItem* item, TCanvas& canvas, int& width, int& height) {
    if (item->IsLine()) {
        width = 0;
        height = 8;
        return;
    }
    SIZE size = canvas.TextExtent(MenuItemMeasureText(item->Caption(), item->ShortCutText()));
    width = size.cx + 28;
    height = std::max<int>(size.cy + 4, GetSystemMetrics(SM_CYMENU));
}

}  // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(AllocateCommand(this)) {}

TMenuItem::~TMenuItem() {
    LiveItems().erase(command_);
    if (parent_) parent_->Remove(this);
    DetachChildren();
    for (TMenuItem* item : items_) item->parent_ = nullptr;
    // A menu's root handle belongs to its window once attached; the menu lets it go.
    if (handle_ && !rootOfMenu_) DestroyMenu(handle_);
}

void TMenuItem::DetachChildren() {
    if (!handle_) return;
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
}

void TMenuItem::SetCaption(const std::string& caption) { Update(caption_, caption); }

void TMenuItem::SetShortCut(TShortCut shortCut) { Update(shortCut_, shortCut); }

void TMenuItem::SetChecked(bool checked) { Update(checked_, checked); }

void TMenuItem::SetEnabled(bool enabled) { Update(enabled_, enabled); }

void TMenuItem::SetVisible(bool visible) { Update(visible_, visible); }

void TMenuItem::SetDefault(bool isDefault) {
    if (isDefault == default_) return;
    default_ = isDefault;
    if (isDefault && parent_)
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this) sibling->default_ = false;
    Changed();
}

void TMenuItem::SetRadioItem(bool radio) { Update(radioItem_, radio); }

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    // An item that gets its first child needs a submenu, so its parent is rebuilt too.
    if (items_.size() == 1 && parent_) parent_->RebuildHandle();
    RebuildHandle();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto found = std::find(items_.begin(), items_.end(), item);
    if (found == items_.end()) return;
    items_.erase(found);
    item->parent_ = nullptr;
    RebuildHandle();
}

int TMenuItem::MenuIndex() const {
    if (!parent_) return -1;
    auto found = std::find(parent_->items_.begin(), parent_->items_.end(), this);
    return static_cast<int>(found - parent_->items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

HMENU TMenuItem::Handle() {
    if (!handle_) {
        handle_ = CreatePopupMenu();
        RebuildHandle();
    }
    return handle_;
}

bool TMenuItem::OwnerDrawn() const {
    TMenu* menu = GetParentMenu();
    return menu && menu->OwnerDraw() && OnDrawItem;
}

void TMenuItem::FillMenuItemInfo(MENUITEMINFOW& info, std::wstring& text) {
    text = WideFromAnsi(caption_);
    if (shortCut_ && !ShortCutText().empty()) text += WideFromAnsi("\t" + ShortCutText());
    info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    if (IsLine()) {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fMask |= MIIM_STRING;
        info.dwTypeData = text.data();
        info.cch = static_cast<UINT>(text.size());
    }
    if (OwnerDrawn()) info.fType |= MFT_OWNERDRAW;
    if (TMenu* menu = GetParentMenu(); menu && menu->RightToLeft()) info.fType |= MFT_RIGHTORDER;
    if (radioItem_) info.fType |= MFT_RADIOCHECK;
    if (checked_) info.fState |= MFS_CHECKED;
    if (default_) info.fState |= MFS_DEFAULT;
    if (!enabled_) info.fState |= MFS_GRAYED;
    info.wID = command_;
    info.hSubMenu = items_.empty() ? nullptr : Handle();
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
}

// The system menu is refilled from the items: simpler and safer than patching positions
// when items are hidden, added or removed, and menus here are small.
void TMenuItem::RebuildHandle() {
    if (!handle_) return;
    DetachChildren();
    UINT position = 0;
    for (TMenuItem* item : items_) {
        if (!item->visible_) continue;
        MENUITEMINFOW info;
        std::wstring text;
        item->FillMenuItemInfo(info, text);
        InsertMenuItemW(handle_, position++, TRUE, &info);
    }
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::Changed() {
    if (parent_) parent_->RebuildHandle();
}

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

bool TMenuItem::ClickShortCut(TShortCut shortCut) {
    for (TMenuItem* item : std::vector<TMenuItem*>(items_)) {
        if (!item->visible_ || !item->enabled_) continue;
        if (item->shortCut_ == shortCut && item->items_.empty()) {
            item->Click();
            return true;
        }
        if (item->ClickShortCut(shortCut)) return true;
    }
    return false;
}

TMenuItem* TMenuItem::FindCommand(UINT command) {
    if (command_ == command) return this;
    for (TMenuItem* item : items_)
        if (TMenuItem* found = item->FindCommand(command)) return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindSubmenu(HMENU submenu) {
    if (handle_ && handle_ == submenu) return this;
    for (TMenuItem* item : items_)
        if (TMenuItem* found = item->FindSubmenu(submenu)) return found;
    return nullptr;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), root_(new TMenuItem(nullptr)) {
    root_->rootOfMenu_ = true;
    root_->menu_ = this;
}

TMenu::~TMenu() {
    HMENU handle = root_->handle_;
    root_->DetachChildren();
    delete root_;
    // Attached to a window, the handle goes with the window; destroying it here is only
    // for menus that never were (popup menus, or main menus of forms without windows).
    if (handle && IsMenu(handle)) DestroyMenu(handle);
}

HMENU TMenu::Handle() {
    if (!root_->handle_) {
        root_->handle_ = CreateMenuHandle();
        root_->RebuildHandle();
    }
    return root_->handle_;
}

void TMenu::SetOwnerDraw(bool ownerDraw) {
    ownerDraw_ = ownerDraw;
    Rebuild();
}

void TMenu::SetRightToLeft(bool rightToLeft) {
    if (rightToLeft_ == rightToLeft) return;
    rightToLeft_ = rightToLeft;
    Rebuild();
}

void TMenu::Rebuild() {
    std::vector<TMenuItem*> pending{root_};
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        item->RebuildHandle();
        pending.insert(pending.end(), item->items_.begin(), item->items_.end());
    }
}

bool TMenu::IsShortCut(uint16_t key, TShiftState shift) {
    TShortCut shortCut = ::ShortCut(key, shift);
    return shortCut != scNone && root_->ClickShortCut(shortCut);
}

void TMainMenu::MenuChanged() {
    if (form_ && form_->Menu() == this) form_->MenuChanged();
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    HWND owner = Application && Application->Handle() ? Application->Handle() : GetActiveWindow();
    UINT flags = TPM_RIGHTBUTTON | TPM_RETURNCMD;
    if (alignment_ == paRight)
        flags |= TPM_RIGHTALIGN;
    else if (alignment_ == paCenter)
        flags |= TPM_CENTERALIGN;
    UINT command = static_cast<UINT>(TrackPopupMenu(Handle(), flags, x, y, 0, owner, nullptr));
    // Lets the menu close properly when it was opened for a window in the background.
    PostMessageW(owner, WM_NULL, 0, 0);
    if (command) DispatchMenuCommand(command);
}

bool DispatchMenuCommand(UINT command) {
    auto found = LiveItems().find(command);
    if (found == LiveItems().end()) return false;
    found->second->Click();
    return true;
}

TMenuItem* MenuItemOfData(ULONG_PTR data) { return LiveItem(data); }

bool DispatchMenuDrawItem(const DRAWITEMSTRUCT* draw) {
    if (!draw || draw->CtlType != ODT_MENU) return false;
    TMenuItem* item = LiveItem(draw->itemData);
    if (!item || !item->OnDrawItem) return false;
    TSavedDCState state(draw->hDC);
    TCanvas canvas;
    canvas.SetHandle(draw->hDC);
    canvas.Font().Assign(Screen->MenuFont());
    if (item->Default()) canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
    item->OnDrawItem(item, canvas, draw->rcItem, (draw->itemState & ODS_SELECTED) != 0);
    canvas.SetHandle(nullptr);
    return true;
}

bool DispatchMenuMeasureItem(MEASUREITEMSTRUCT* measure) {
    if (!measure || measure->CtlType != ODT_MENU) return false;
    TMenuItem* item = LiveItem(measure->itemData);
    if (!item) return false;
    HDC measuring = MeasuringDC();
    TSavedDCState state(measuring);
    TCanvas canvas;
    canvas.SetHandle(measuring);
    canvas.Font().Assign(Screen->MenuFont());
    if (item->Default()) canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
    int width = 0, height = 0;
    MeasureByText(item, canvas, width, height);
    if (item->OnMeasureItem) item->OnMeasureItem(item, canvas, width, height);
    canvas.SetHandle(nullptr);
    measure->itemWidth = static_cast<UINT>(std::max(width, 0));
    measure->itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
}
