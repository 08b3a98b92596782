#include "skin/menus/SkinMenuItems_win.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <utility>

#include "picture/bmp/Bitmap_win.h"
#include "skin/draw/SkinElementLayout.h"
#include "skin/draw/SkinPaint_win.h"
#include "skin/menus/SkinMenuLayout.h"
#include "skin/menus/SkinMenuScratch_win.h"
#include "skin/menus/SkinPopupMenu_win.h"
#include "skin/stored/SkinData_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/Screen_win.h"
#include "toolkit/WideText_win.h"

namespace {

constexpr int kSeparatorCell = 2;
constexpr int kNormalCell = 1;
constexpr int kSelectedCell = 4;

RECT ToRect(const TSkinRect& r) { return {r.left, r.top, r.right, r.bottom}; }
TSkinRect ToSkinRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

COLORREF TextColour(const TSkinData& data, const TSkinMenuItemLook& look, bool selected) {
    const TSkinColours& c = data.Colours;
    if (!look.enabled) {
        // A shadow colour that equals the text colour would make disabled items look enabled.
        return c.ButtonShadow == c.MenuText ? GetSysColor(COLOR_BTNSHADOW) : ColorToRGB(c.ButtonShadow);
    }
    return ColorToRGB(selected ? c.HilightText : c.MenuText);
}

// The check-mark (or radio bullet) glyph of the system, in `colour`, centred in `box`.
void DrawCheckMark(HDC dc, const RECT& box, bool radio, COLORREF colour) {
    int width = GetSystemMetrics(SM_CXMENUCHECK), height = GetSystemMetrics(SM_CYMENUCHECK);
    TBitmapHandle mask(CreateBitmap(width, height, 1, 1, nullptr));
    TMemoryDC maskDC(dc);
    if (!mask || !maskDC) return;
    TSelection selectedMask(maskDC.Get(), mask.Get());
    RECT glyph{0, 0, width, height};
    PatBlt(maskDC.Get(), 0, 0, width, height, WHITENESS);
    DrawFrameControl(maskDC.Get(), &glyph, DFC_MENU, radio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    int x = box.left + (box.right - box.left - width) / 2;
    int y = box.top + (box.bottom - box.top - height) / 2;
    TBrushHandle brush(CreateSolidBrush(colour));
    TSelection selectedBrush(dc, brush.Get());
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    // Where the mask is black the brush colour goes down, elsewhere the item stays.
    BitBlt(dc, x, y, width, height, maskDC.Get(), 0, 0, 0x00B8074A);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

// A checked item's picture sits on a dithered, sunken square, as the system draws it.
void DrawCheckedImageBack(TSkinData& data, HDC dc, const RECT& box) {
    static const WORD kDither[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    TBitmapHandle pattern(CreateBitmap(8, 8, 1, 1, kDither));
    TBrushHandle brush(CreatePatternBrush(pattern.Get()));
    COLORREF oldText = SetTextColor(dc, ColorToRGB(data.Colours.ButtonFace));
    COLORREF oldBack = SetBkColor(dc, ColorToRGB(data.Colours.ButtonHilight));
    FillRect(dc, &box, brush.Get());
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    RECT edge = box;
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
}

void DrawGlyph(TSkinData& data, HDC dc, const RECT& box, const TSkinMenuItemLook& look, COLORREF colour) {
    bool hasImage = look.images && look.imageIndex >= 0 && look.imageIndex < ImageList_GetImageCount(look.images);
    if (hasImage) {
        if (look.checked) DrawCheckedImageBack(data, dc, box);
        ImageList_Draw(look.images, look.imageIndex, dc, box.left, box.top,
                       look.enabled ? ILD_TRANSPARENT : ILD_TRANSPARENT | ILD_BLEND50);
    } else if (look.checked) {
        DrawCheckMark(dc, box, look.radio, colour);
    }
}

UINT CaptionFormat(const TSkinMenuItemLook& look) {
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    if (look.rightToLeft) return format | DT_RIGHT | DT_RTLREADING;
    switch (look.alignment) {
    case paRight: return format | DT_RIGHT;
    case paCenter: return format | DT_CENTER;
    default: return format | DT_LEFT;
    }
}

void DrawContent(TSkinData& data, HDC dc, const RECT& rect, const TSkinMenuItemLook& look, bool selected) {
    COLORREF colour = TextColour(data, look, selected);
    SkinMenuLayout::TItemParts parts = SkinMenuLayout::ItemParts(ToSkinRect(rect));
    DrawGlyph(data, dc, ToRect(parts.glyph), look, colour);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, colour);
    TFontHandle bold = look.isDefault ? BoldFontLike(static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT))) : TFontHandle();
    TSelection boldSelected(dc, bold.Get());
    RECT caption = ToRect(parts.caption);
    DrawTextOf(dc, look.caption, &caption, CaptionFormat(look));
    if (!look.shortCut.empty()) {
        RECT shortcut = ToRect(parts.shortcut);
        DrawTextOf(dc, look.shortCut, &shortcut,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

// Without the skin's menu-item picture: the system's flat look in the skin's colours.
void DrawPlainItem(TSkinData& data, HDC dc, const RECT& rect, const TSkinMenuItemLook& look, bool selected) {
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(selected && !look.separator ? data.Colours.Hilight
                                                                               : data.Colours.ButtonFace)));
    FillRect(dc, &rect, brush.Get());
    if (look.separator) {
        RECT line{rect.left, rect.top + 4, rect.right, rect.top + 6};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    DrawContent(data, dc, rect, look, selected);
}

// What lies under the item: the popup's rendered background, or the Menu colour.
void DrawItemBack(TSkinData& data, HDC dc, const RECT& rect, SIZE size, HMENU menu, HDC target) {
    TSkinPopupMenu* popup = TSkinPopupMenu::ForItem(menu, target);
    if (HDC background = popup ? popup->BackgroundDC() : nullptr) {
        POINT offset = popup->ClientOffset();
        BitBlt(dc, 0, 0, size.cx, size.cy, background, rect.left + offset.x, rect.top + offset.y, SRCCOPY);
        return;
    }
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(data.Colours.Menu)));
    RECT all{0, 0, size.cx, size.cy};
    FillRect(dc, &all, brush.Get());
}

// The separator line: the lowest rows of the picture's second cell, its left and right
// margins kept and its middle stretched, magenta-transparent.
void DrawSeparator(TDataSkinObject& element, HDC dc, SIZE size) {
    TBitmap& picture = *element.Picture;
    TSkinRect cell = SkinCellRect(picture.Width(), picture.Height(), element.FrameCount, kSeparatorCell, false);
    TSkinRect rows = SkinMenuLayout::SeparatorSource(cell, size.cy);
    TBitmap strip;
    strip.SetSize(rows.Width(), rows.Height());
    BitBlt(strip.Canvas().Handle(), 0, 0, rows.Width(), rows.Height(), picture.Canvas().Handle(), rows.left, rows.top,
           SRCCOPY);
    TSkinElementStyle style;
    style.margins = {element.LeftWidth, 0, element.RightWidth, 0};
    DrawSkinElementTransparent(dc, {0, 0, size.cx, rows.Height()}, strip, style, 1, true);
}

// The picture's bitmap, read from its canvas (asking the picture itself would take the bitmap
// out of the canvas, which the painters then select again).
HBITMAP PictureHandle(TBitmap& picture) {
    return static_cast<HBITMAP>(GetCurrentObject(picture.Canvas().Handle(), OBJ_BITMAP));
}

// What is known of cells, per picture handle and cell: kept until the pictures are replaced
// (ForgetSkinMenuPictures), as a new picture may get an old one's handle.
std::map<std::pair<HBITMAP, int>, bool>& KnownTransparentCells() {
    static std::map<std::pair<HBITMAP, int>, bool> known;
    return known;
}

// Whether a cell of the picture is all transparent (the menu-item picture's normal cell is, in
// most skins): then there is nothing to draw over the background.
bool CellTransparent(TDataSkinObject& element, int cell) {
    auto& known = KnownTransparentCells();
    TBitmap& picture = *element.Picture;
    auto key = std::make_pair(PictureHandle(picture), cell);
    auto found = known.find(key);
    if (found != known.end()) return found->second;
    bool transparent = element.Trans == 1;
    TSkinRect rect = SkinCellRect(picture.Width(), picture.Height(), element.FrameCount, cell, false);
    HDC dc = picture.Canvas().Handle();
    for (int y = rect.top; transparent && y < rect.bottom; ++y)
        for (int x = rect.left; transparent && x < rect.right; ++x) transparent = GetPixel(dc, x, y) == kSkinTransparent;
    if (known.size() > 256) known.clear();
    known.emplace(key, transparent);
    return transparent;
}

// The cell drawn at an item's size is kept for the next item of the same size (the items of a
// menu share their width, and the selected cell moves from item to item).
struct TDrawnCell {
    HBITMAP picture = nullptr;
    int cell = 0;
    SIZE size{};
    TBitmapHandle bitmap;
};

// The normal cell and the selected one.
TDrawnCell (&DrawnCells())[2] {
    static TDrawnCell drawn[2];
    return drawn;
}

void DrawItemCell(TDataSkinObject& element, HDC dc, SIZE size, int cell) {
    TDrawnCell(&drawn)[2] = DrawnCells();
    HBITMAP picture = PictureHandle(*element.Picture);
    TDrawnCell* found = nullptr;
    for (TDrawnCell& entry : drawn)
        if (entry.picture == picture && entry.cell == cell && entry.size.cx == size.cx && entry.size.cy == size.cy)
            found = &entry;
    if (!found) {
        found = &drawn[cell == kNormalCell ? 0 : 1];
        found->bitmap = DrawSkinElement(size, *element.Picture, ElementStyle(element), cell);
        found->picture = found->bitmap ? picture : nullptr;
        found->cell = cell;
        found->size = size;
    }
    if (!found->bitmap) return;
    RECT all{0, 0, size.cx, size.cy};
    if (element.Trans == 1) {
        DrawTransparent(dc, all, found->bitmap.Get(), kSkinTransparent);
        return;
    }
    TMemoryDC source(dc);
    TSelection selected(source.Get(), found->bitmap.Get());
    BitBlt(dc, 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
}

// A selected item shows the selected cell, disabled or not (its text tells the difference).
int ItemCell(bool selected) { return selected ? kSelectedCell : kNormalCell; }

// The item's background, its cell of the menu-item picture (or the separator line) and its
// content, at (0, 0) of `dc`; `rect` is where the item lies in its popup, drawn through `target`.
void DrawItemLayers(TDataSkinObject& element, TSkinData& data, HDC dc, const RECT& rect,
                    const TSkinMenuItemLook& look, bool selected, HMENU menu, HDC target) {
    SIZE size{rect.right - rect.left, rect.bottom - rect.top};
    DrawItemBack(data, dc, rect, size, menu, target);
    if (look.separator) {
        DrawSeparator(element, dc, size);
        return;
    }
    int cell = ItemCell(selected);
    if (!CellTransparent(element, cell)) DrawItemCell(element, dc, size, cell);
    DrawContent(data, dc, {0, 0, size.cx, size.cy}, look, selected);
}

}  // namespace

void ForgetSkinMenuPictures() {
    KnownTransparentCells().clear();
    for (TDrawnCell& entry : DrawnCells()) entry = TDrawnCell{};
    TSkinPopupMenu::ForgetPreparedBackgrounds();
}

HFONT SkinMenuFont() {
    return Screen ? Screen->MenuFont().Handle() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TFontHandle BoldFontLike(HFONT font) {
    LOGFONTW logical{};
    if (!font || !GetObjectW(font, sizeof logical, &logical)) return TFontHandle();
    logical.lfWeight = FW_BOLD;
    return TFontHandle(CreateFontIndirectW(&logical));
}

bool Windows9x() { return (GetVersion() & 0x80000000u) != 0; }

TSkinMenuItemLook MenuItemLook(TMenuItem& item) {
    TSkinMenuItemLook look;
    look.caption = WideFromAnsi(item.Caption());
    look.shortCut = WideFromAnsi(item.ShortCutText());
    look.separator = item.IsLine();
    look.enabled = item.Enabled();
    look.checked = item.Checked();
    look.radio = item.RadioItem();
    look.isDefault = item.Default();
    look.imageIndex = item.ImageIndex();
    if (TMenu* menu = item.GetParentMenu()) {
        look.images = menu->Images();
        look.rightToLeft = menu->RightToLeft();
        if (auto* popup = dynamic_cast<TPopupMenu*>(menu)) look.alignment = popup->Alignment();
    }
    return look;
}

bool QueryMenuItem(HMENU menu, UINT position, UINT mask, MENUITEMINFOW& info, std::wstring* text) {
    wchar_t wide[256] = L"";
    info = MENUITEMINFOW{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    if (text) {
        info.dwTypeData = wide;
        info.cch = 255;
    }
    if (!GetMenuItemInfoW(menu, position, TRUE, &info)) {
        info = MENUITEMINFOW{};
        if (text) text->clear();
        return false;
    }
    if (text) *text = wide;
    info.dwTypeData = nullptr;  // the text's room is gone with this call
    return true;
}

TSkinMenuItemLook SystemMenuItemLook(HMENU menu, UINT position) {
    TSkinMenuItemLook look;
    std::wstring text;
    MENUITEMINFOW info;
    QueryMenuItem(menu, position, MIIM_FTYPE | MIIM_STATE | MIIM_STRING, info, &text);
    std::wstring full = SkinMenuLayout::LimitCaption(text);
    look.separator = (info.fType & MFT_SEPARATOR) != 0 || full.empty();
    size_t tab = full.find(L'\t');
    look.caption = look.separator ? L"-" : full.substr(0, tab);
    if (tab != std::wstring::npos) look.shortCut = full.substr(tab + 1);
    look.enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
    look.checked = (info.fState & MFS_CHECKED) != 0;
    look.radio = (info.fType & MFT_RADIOCHECK) != 0;
    look.isDefault = (info.fState & MFS_DEFAULT) != 0;
    look.rightToLeft = (info.fType & MFT_RIGHTORDER) != 0;
    return look;
}

void DrawSkinMenuItemLook(TSkinData& data, HDC dc, const RECT& rect, const TSkinMenuItemLook& look, bool selected,
                          HMENU menu) {
    TDataSkinObject* element = data.MenuItem.get();
    if (!element || !element->HasPicture()) {
        DrawPlainItem(data, dc, rect, look, selected);
        return;
    }
    SIZE size{rect.right - rect.left, rect.bottom - rect.top};
    if (size.cx <= 0 || size.cy <= 0) return;
    // A whole popup painted off screen takes its items in place; an item drawn on the display
    // is put together off screen first, so that its layers never show one by one.
    if (GetObjectType(dc) == OBJ_MEMDC) {
        TSavedDCState state(dc);
        OffsetViewportOrgEx(dc, rect.left, rect.top, nullptr);
        IntersectClipRect(dc, 0, 0, size.cx, size.cy);
        DrawItemLayers(*element, data, dc, rect, look, selected, menu, dc);
        return;
    }
    TMenuScratch room(size);
    if (!room) return;
    TSelection font(room.Get(), GetCurrentObject(dc, OBJ_FONT));
    DrawItemLayers(*element, data, room.Get(), rect, look, selected, menu, dc);
    BitBlt(dc, rect.left, rect.top, size.cx, size.cy, room.Get(), 0, 0, SRCCOPY);
}

void DrawSkinMenuItem(TSkinData& data, TMenuItem* item, TCanvas& canvas, const RECT& rect, bool selected) {
    if (!item) return;
    HDC dc = canvas.Handle();
    // The canvas's font (the menu font, bold for the default item) goes into the context.
    TSelection font(dc, canvas.Font().Handle());
    HMENU menu = item->Parent() ? item->Parent()->Handle() : nullptr;
    TSkinMenuItemLook look = MenuItemLook(*item);
    look.isDefault = false;  // the canvas's font is bold already
    DrawSkinMenuItemLook(data, dc, rect, look, selected, menu);
}

void MeasureSkinMenuItem(TMenuItem* item, TCanvas&, int& width, int& height) {
    bool separator = item && item->IsLine();
    SkinMenuLayout::TItemSize size = SkinMenuLayout::GrowToolkitMenuItem({width, height}, separator, Windows9x());
    width = size.width;
    height = size.height;
}

TMenuDrawItemEvent SkinMenuItemDrawer(TSkinData& data) {
    return [&data](TMenuItem* item, TCanvas& canvas, const RECT& rect, bool selected) {
        if (data.NotReady()) return;
        DrawSkinMenuItem(data, item, canvas, rect, selected);
    };
}
