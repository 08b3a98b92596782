#pragma once
// The menu bar a skinned window draws in its frame instead of the system's: the window's own
// menu is taken away while it is dressed, the items are drawn from the skin and open their
// submenus as tracked popup menus (drawn from the skin too).
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "skin/draw/SkinNCObject_win.h"
#include "toolkit/GdiGuards_win.h"

class TSkinForm;
class TSkinMenuBar;
class TMenuItem;

// One item of the drawn menu bar.
class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TSkinForm& owner, TSkinMenuBar& bar);
    void Paint(HDC windowDC) override;
    void MouseDown() override { ShowState(Pressed); }
    // Hot and pressed items look alike: both framed.
    static bool Framed(int state) { return state == MouseOver || state == Pressed; }

    std::string Caption;            // at most 80 bytes, with its '&' accelerator mark
    bool ItemEnabled = true;        // a disabled item draws grey and does not open
    UINT Command = 0;               // posted as WM_COMMAND when the item is pressed
    bool HasCommand = false;        // items with a submenu of a plain window have none
    HMENU Submenu = nullptr;
    int Index = 0;
    // Shows the item normal again after its menu closed (hot when the pointer is on it).
    void MenuClosed();

private:
    // Takes a state, repainting only when the item's look changes with it.
    void ShowState(int state);
    TSkinMenuBar& bar_;
};

class TSkinMenuBar {
public:
    explicit TSkinMenuBar(TSkinForm& window);
    ~TSkinMenuBar();
    TSkinMenuBar(const TSkinMenuBar&) = delete;
    TSkinMenuBar& operator=(const TSkinMenuBar&) = delete;

    // Takes the window's menu away (kept for Restore) and makes the items anew from it.
    void Rebuild();
    // Gives the window its menu back, its items drawn by the system again.
    void Restore();
    // Draws the bar into `rect` (window coordinates) of a device context of the whole window.
    void Paint(HDC windowDC, const RECT& rect);
    // The item under a point in window coordinates, or nullptr.
    TMenuBtn* ItemAt(POINT windowPoint);
    // The item whose caption has this accelerator character, or nullptr.
    TMenuBtn* ItemForAccelerator(char character);
    // Opens an item's submenu below it (or runs a command item) and tracks it until it closes.
    void OpenBarItem(TMenuBtn& item);
    // Alt pressed and released alone (or F10): the first item that can open opens, as a click
    // on it would, so the keyboard reaches the menus without knowing an accelerator.
    void OpenFirstItem();
    // Whether one of the bar's menus is open now.
    bool MenuOpen() const { return menuOpen_; }
    // Owner-drawn menu items reaching the window (WM_MEASUREITEM / WM_DRAWITEM); false when
    // the item is not one of the bar's.
    bool MeasureItem(MEASUREITEMSTRUCT& item);
    bool DrawItem(const DRAWITEMSTRUCT& item);

    TSkinForm& Window() const { return window_; }
    HMENU Menu() const { return menu_; }
    const std::vector<std::unique_ptr<TMenuBtn>>& Items() const { return items_; }
    // The message filter ends tracking with Alt: the bar no longer counts as open.
    void MenuClosedByAlt() { menuOpen_ = false; }
    // Draws one item (its state frame and caption) onto a bitmap of the bar at `place`.
    void DrawItemFace(HDC dc, const RECT& place, const TMenuBtn& item) const;
    // The bar's background of the last paint, for redrawing single items.
    HBITMAP Background() const { return background_.Get(); }
    const RECT& BarRect() const { return barRect_; }

private:
    void ReadItems();
    void ReadItemFromComponent(TMenuBtn& button, int position);
    void PaintBackground(HDC dc, SIZE size) const;
    void LayOutItems(HDC dc, const RECT& bar);
    void PaintChildButtons(HDC dc, const RECT& bar);
    TMenuItem* ProgramItem(UINT command, ULONG_PTR data) const;
    bool OwnsMenuItem(ULONG_PTR data) const;
    // Owner drawing of a submenu's items, recursively (and off again in Restore).
    void MarkOwnerDrawn(HMENU menu);
    void UnmarkOwnerDrawn(bool remakeProgramMenu);

    TSkinForm& window_;
    HMENU menu_ = nullptr;
    bool menuTaken_ = false;
    std::vector<std::unique_ptr<TMenuBtn>> items_;
    RECT barRect_{};
    TBitmapHandle background_;
    bool menuOpen_ = false;
    std::vector<std::pair<HMENU, UINT>> markedItems_;  // menu and command or submenu
};

// The form's popup menus drawn by the skin (at attach and after a skin switch) or by the
// system again (Restore).
class TForm;
void SetFormMenusSkinned(TSkinForm& window, TForm& form, bool skinned);
