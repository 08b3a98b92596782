#pragma once
// Main and popup menus. Items are components (owned by the form, like its controls) that
// form a tree under their menu; the menu keeps the system menu handles in step with the
// items. Any item can be drawn and measured by handlers of the program's (the skin engine's)
// once its menu is switched to owner drawing.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "base/Component.h"
#include "base/ShortCut.h"

class TCanvas;
class TForm;
class TMenu;
class TMenuItem;

using TMenuDrawItemEvent = std::function<void(TMenuItem* item, TCanvas& canvas, const RECT& rect, bool selected)>;
using TMenuMeasureItemEvent = std::function<void(TMenuItem* item, TCanvas& canvas, int& width, int& height)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    const char* ClassName() const override { return "TMenuItem"; }

    // "-" makes the item a separator.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool IsLine() const { return caption_ == "-"; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut shortCut);
    std::string ShortCutText() const { return ShortCutToText(shortCut_); }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // The default item of its menu, drawn bold.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool radio);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index) { groupIndex_ = index; }
    // Index into an image list of the menu's, -1 for none.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }

    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    TMenu* GetParentMenu() const;

    // The command identifier WM_COMMAND reports for this item.
    UINT Command() const { return command_; }
    // The submenu of an item with children (the menu itself for a menu's root item).
    HMENU Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }

    TNotifyEvent OnClick;
    // Drawing and measuring of the item while its menu is owner-drawn; an item without a
    // drawing handler is drawn by the system.
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;
    bool OwnerDrawn() const;

    virtual void Click();
    // Finds the enabled item with this shortcut in the tree and clicks it.
    bool ClickShortCut(TShortCut shortCut);
    TMenuItem* FindCommand(UINT command);
    TMenuItem* FindSubmenu(HMENU submenu);

private:
    friend class TMenu;
    void Changed();
    // Stores a changed property and brings the system menu in step.
    template <typename T>
    void Update(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }
    void RebuildHandle();
    void FillMenuItemInfo(MENUITEMINFOW& info, std::wstring& text);
    void DetachChildren();

    std::string caption_;
    TShortCut shortCut_ = 0;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    int imageIndex_ = -1;
    UINT command_ = 0;
    HMENU handle_ = nullptr;
    bool rootOfMenu_ = false;
    TMenu* menu_ = nullptr;  // set on the root item only
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    const char* ClassName() const override { return "TMenu"; }

    TMenuItem* Items() const { return root_; }
    HMENU Handle();

    // Owner drawing: items that have a drawing handler are drawn by it. Switching it (or
    // Rebuild after handlers changed) remakes the system menu.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool ownerDraw);
    void Rebuild();

    bool IsShortCut(uint16_t key, TShiftState shift);
    TMenuItem* FindItem(UINT command) { return root_->FindCommand(command); }

    // The pictures of the items' ImageIndex (the menu does not own the list).
    HIMAGELIST Images() const { return images_; }
    void SetImages(HIMAGELIST images) { images_ = images; }
    // Items read and run from right to left.
    bool RightToLeft() const { return rightToLeft_; }
    void SetRightToLeft(bool rightToLeft);

    // Something in the tree changed; main menus tell their form.
    virtual void MenuChanged() {}

protected:
    virtual HMENU CreateMenuHandle() = 0;

private:
    TMenuItem* root_;
    bool ownerDraw_ = false;
    HIMAGELIST images_ = nullptr;
    bool rightToLeft_ = false;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
    const char* ClassName() const override { return "TMainMenu"; }
    TForm* Form() const { return form_; }
    void SetForm(TForm* form) { form_ = form; }
    void MenuChanged() override;

protected:
    HMENU CreateMenuHandle() override { return CreateMenu(); }

private:
    TForm* form_ = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    const char* ClassName() const override { return "TPopupMenu"; }

    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment alignment) { alignment_ = alignment; }
    // The control the menu was last opened for.
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component) { popupComponent_ = component; }

    // Shows the menu at a screen point (placed by the alignment) and runs the chosen item.
    void Popup(int x, int y);
    TNotifyEvent OnPopup;

protected:
    HMENU CreateMenuHandle() override { return CreatePopupMenu(); }

private:
    TPopupAlignment alignment_ = paLeft;
    TComponent* popupComponent_ = nullptr;
};

// Menu messages that reach a window: a command (WM_COMMAND from a menu), an owner-drawn
// item to draw or measure. Each returns false when the message is not about a menu item of
// this program.
bool DispatchMenuCommand(UINT command);
bool DispatchMenuDrawItem(const DRAWITEMSTRUCT* item);
bool DispatchMenuMeasureItem(MEASUREITEMSTRUCT* item);
// The text an owner-drawn item is measured by: its caption and, four spaces on, its shortcut.
std::string MenuItemMeasureText(const std::string& caption, const std::string& shortCut);
std::wstring MenuItemMeasureText(const std::wstring& caption, const std::wstring& shortCut);

// The program's menu item an owner-drawn item's data names, or nullptr.
TMenuItem* MenuItemOfData(ULONG_PTR data);
