#pragma once
// The menu bar a skinned window draws in its frame instead of the system's: the window's own
// menu is taken away while it is dressed, the items are drawn from the skin and open their
// submenus as tracked popup menus (drawn from the skin too).
#include <windows.h>

#include <memory>
#include <vector>

#include "skin/SkinNCObject_win.h"

class TSkinForm;
class TSkinMenuBar;

// One item of the drawn menu bar.
class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TSkinForm& owner, TSkinMenuBar& bar);
    void Paint(HDC windowDC) override;

private:
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
    // Gives the window its menu back.
    void Restore();
    // Draws the bar into `rect` (window coordinates) of a device context of the whole window.
    void Paint(HDC windowDC, const RECT& rect);
    // The item under a point in window coordinates, or nullptr.
    TMenuBtn* ItemAt(POINT windowPoint);
    // The item whose caption has this accelerator character, or nullptr.
    TMenuBtn* ItemForAccelerator(char character);
    // Opens an item's submenu below it (or runs a command item) and tracks it until it closes.
    void OpenBarItem(TMenuBtn& item);
    // Whether one of the bar's menus is open now.
    bool MenuOpen() const;
    // Owner-drawn menu items reaching the window (WM_MEASUREITEM / WM_DRAWITEM); false when
    // the item is not one of the bar's.
    bool MeasureItem(MEASUREITEMSTRUCT& item);
    bool DrawItem(const DRAWITEMSTRUCT& item);

private:
    TSkinForm& window_;
    HMENU menu_ = nullptr;
    std::vector<std::unique_ptr<TMenuBtn>> items_;
};

// The form's popup menus drawn by the skin (at attach and after a skin switch) or by the
// system again (Restore).
class TForm;
void SetFormMenusSkinned(TSkinForm& window, TForm& form, bool skinned);
