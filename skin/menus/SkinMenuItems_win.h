#pragma once
// Owner-drawn menu items in the skin: the program's menu items (through their drawing and
// measuring handlers) and the items of menus that are not the program's (drawn from what the
// system menu knows of them).
#include <windows.h>

#include <string>

#include "toolkit/GdiGuards_win.h"
#include "toolkit/Menus_win.h"

class TCanvas;
class TSkinData;

// What the menu knows of the item at `position`: the members `mask` names, and its text into
// `text` when given (at most 255 characters, as the bar and the popups show them). False, and
// `info` empty, when there is no such item.
bool QueryMenuItem(HMENU menu, UINT position, UINT mask, MENUITEMINFOW& info, std::wstring* text = nullptr);

// Lets go of everything drawn from the skin's menu pictures and kept for the next menus (cells
// of items, popup backgrounds): after a decode the pictures are new.
void ForgetSkinMenuPictures();

// What one item shows, in UTF-16: an item the program did not make may hold any character.
struct TSkinMenuItemLook {
    std::wstring caption;   // with its '&' accelerator marks, without the shortcut
    std::wstring shortCut;  // drawn right-aligned
    bool separator = false;
    bool enabled = true;
    bool checked = false;
    bool radio = false;
    bool isDefault = false;
    HIMAGELIST images = nullptr;
    int imageIndex = -1;
    TPopupAlignment alignment = paLeft;
    bool rightToLeft = false;
};

// The look of one of the program's items.
TSkinMenuItemLook MenuItemLook(TMenuItem& item);
// The look of an item of any menu, by position, from its text (a missing text is "-"), its
// enabled and checked states.
TSkinMenuItemLook SystemMenuItemLook(HMENU menu, UINT position);

// Draws an item of `menu` into `rect` of `dc`, with the text font selected in `dc`.
void DrawSkinMenuItemLook(TSkinData& data, HDC dc, const RECT& rect, const TSkinMenuItemLook& look, bool selected,
                          HMENU menu);

// The drawing and measuring handlers given to the program's menu items.
void DrawSkinMenuItem(TSkinData& data, TMenuItem* item, TCanvas& canvas, const RECT& rect, bool selected);
void MeasureSkinMenuItem(TMenuItem* item, TCanvas& canvas, int& width, int& height);
TMenuDrawItemEvent SkinMenuItemDrawer(TSkinData& data);

// The program's menu font, and a bold form of a font (for default items).
HFONT SkinMenuFont();
TFontHandle BoldFontLike(HFONT font);

// Whether the system is of the Windows 9x family (items there are drawn 4 pixels higher).
bool Windows9x();
