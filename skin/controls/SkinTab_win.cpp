// Tab controls: the whole control is painted off screen instead of by itself: the page border
// from the Tabs element's border picture, then every tab from its picture (cell 2 selected,
// 3 under the mouse, 4 disabled, else 1) with its image and caption. Tabs at the bottom get
// the picture flipped, tabs at the left or right turned with their captions; the pages (child
// windows) are left alone.
#include "skin/controls/SkinPainters_win.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "skin/stored/SkinData_win.h"
#include "skin/draw/SkinElementLayout.h"
#include "skin/draw/SkinPaint_win.h"
#include "toolkit/WideText_win.h"
#include "toolkit/ScreenDevice_win.h"

using namespace SkinPainting;

namespace {

enum TTabSide { tsTop, tsBottom, tsLeft, tsRight };

TTabSide TabSide(HWND tab) {
    LONG style = GetWindowLongW(tab, GWL_STYLE);
    if (style & TCS_VERTICAL) return (style & TCS_RIGHT) ? tsRight : tsLeft;
    return (style & TCS_BOTTOM) ? tsBottom : tsTop;
}

// Where the three given corners of a picture drawn for tabs at the top land for `side`
// (upper-left, upper-right, lower-left), in a target of `size`.
void TurnedCorners(TTabSide side, SIZE size, POINT corners[3]) {
    int w = size.cx, h = size.cy;
    switch (side) {
    case tsBottom:
        corners[0] = {0, h}, corners[1] = {w, h}, corners[2] = {0, 0};
        break;
    case tsLeft:
        corners[0] = {0, h}, corners[1] = {0, 0}, corners[2] = {w, h};
        break;
    case tsRight:
        corners[0] = {w, 0}, corners[1] = {w, h}, corners[2] = {0, 0};
        break;
    default:
        corners[0] = {0, 0}, corners[1] = {w, 0}, corners[2] = {0, h};
        break;
    }
}

// One cell of the tab picture drawn into `rect`, turned for the tabs' side, magenta kept out.
void DrawTurnedTab(HDC dc, const RECT& rect, TDataSkinBorder& tabs, int cell, TTabSide side) {
    SIZE size{rect.right - rect.left, rect.bottom - rect.top};
    bool across = side == tsLeft || side == tsRight;
    SIZE upright = across ? SIZE{size.cy, size.cx} : size;
    TBitmapHandle drawn = DrawSkinElement(upright, *tabs.Picture, ElementStyle(tabs), cell);
    if (!drawn) return;
    TBitmapHandle turned;
    if (side == tsTop) {
        turned = std::move(drawn);
    } else {
        turned.Reset(CreateCompatibleBitmapFor(dc, size.cx, size.cy));
        TMemoryDC source(dc), target(dc);
        TSelection sourceBitmap(source.Get(), drawn.Get());
        TSelection targetBitmap(target.Get(), turned.Get());
        POINT corners[3];
        TurnedCorners(side, size, corners);
        if (side == tsBottom) {
            StretchBlt(target.Get(), 0, size.cy - 1, size.cx, -size.cy, source.Get(), 0, 0, upright.cx, upright.cy,
                       SRCCOPY);
        } else {
            PlgBlt(target.Get(), corners, source.Get(), 0, 0, upright.cx, upright.cy, nullptr, 0, 0);
        }
    }
    if (tabs.Trans == 1)
        DrawTransparent(dc, rect, turned.Get(), kSkinTransparent);
    else {
        TMemoryDC source(dc);
        TSelection selected(source.Get(), turned.Get());
        BitBlt(dc, rect.left, rect.top, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
    }
}

std::wstring TabText(HWND tab, int index, int& image) {
    wchar_t text[260] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = 260;
    image = -1;
    if (!SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
    image = item.iImage;
    return text;
}

// A caption along a side tab, reading upwards on the left and downwards on the right, centred.
void DrawTurnedText(HDC dc, const std::wstring& text, const RECT& rect, TTabSide side) {
    LOGFONTW font{};
    if (!GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font)) return;
    font.lfEscapement = font.lfOrientation = side == tsLeft ? 900 : 2700;
    TFontHandle turned(CreateFontIndirectW(&font));
    if (!turned) return;
    TSelection selected(dc, turned.Get());
    SIZE extent = TextExtentOf(dc, text);
    int centreX = (rect.left + rect.right) / 2, centreY = (rect.top + rect.bottom) / 2;
    // The text's top-left corner, turned with it.
    int x = side == tsLeft ? centreX - extent.cy / 2 : centreX + extent.cy / 2;
    int y = side == tsLeft ? centreY + extent.cx / 2 : centreY - extent.cx / 2;
    UINT align = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    SetTextAlign(dc, align);
}

}  // namespace

void TSkinTab::AttachControl(TWinControl& control, TSkinData& skinData, bool setColour) {
    TSkinControl::AttachControl(control, skinData, setColour);
    SkinSpinButton();
}

void TSkinTab::AttachHandle(HWND handle, TSkinData& skinData) {
    TSkinControl::AttachHandle(handle, skinData);
    SkinSpinButton();
}

// The scroll arrows a tab strip shows when its tabs do not fit.
void TSkinTab::SkinSpinButton() {
    for (HWND child = GetWindow(handle_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (LowerWindowClass(child) == "msctls_updown32") DressSpinButton(window_, child, *skinData_);
    }
}

bool TSkinTab::BeforeMessage(TMessage& message) {
    if (skinData_->NotReady() || !skinData_->Tabs || !skinData_->Tabs->HasPicture()) return true;
    return !PaintsInsteadOfControl(message);
}

void TSkinTab::AfterMessage(TMessage& message) {
    if (FollowHover(message)) return;
    if (message.Msg == WM_PAINT) return;  // painted instead of the control, or left to it without a Tabs element
    TSkinControl::AfterMessage(message);
}

bool TSkinTab::HotPartMoved(const TMessage& move) {
    TCHITTESTINFO hit = {};
    hit.pt = {PointX(move.LParam), PointY(move.LParam)};
    int tab = static_cast<int>(SendMessageW(handle_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (tab == hotTab_) return false;
    hotTab_ = tab;
    return true;
}

void TSkinTab::ForgetHotPart() { hotTab_ = -1; }

void TSkinTab::SkinChanged() {
    TSkinControl::SkinChanged();
    hotTab_ = -1;
    InvalidateRect(handle_, nullptr, TRUE);
}

void TSkinTab::Paint(HDC dc, const RECT& rect) {
    if (skinData_->NotReady() || !skinData_->Tabs || !skinData_->Tabs->HasPicture()) return;
    RefreshState();
    int count = static_cast<int>(SendMessageW(handle_, TCM_GETITEMCOUNT, 0, 0));
    int selected = static_cast<int>(SendMessageW(handle_, TCM_GETCURSEL, 0, 0));
    RECT strip{};
    for (int i = 0; i < count; ++i) {
        RECT item;
        if (SendMessageW(handle_, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
            UnionRect(&strip, &strip, &item);
    }
    OffScreen(dc, rect, [&](HDC buffer, const RECT& local) {
        FillColour(buffer, local, Rgb(skinData_->Colours.ButtonFace));
        DrawPageBorder(buffer, local, strip);
        TSelection font(buffer, ControlFont());
        SetBkMode(buffer, TRANSPARENT);
        for (int i = 0; i < count; ++i) {
            RECT item;
            if (i == selected ||
                !SendMessageW(handle_, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
                continue;
            DrawTab(buffer, i, item, false);
        }
        // The selected tab last: it stands out over its neighbours and joins the page.
        RECT item;
        if (selected >= 0 &&
            SendMessageW(handle_, TCM_GETITEMRECT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item)))
            DrawTab(buffer, selected, item, true);
    });
}

void TSkinTab::DrawPageBorder(HDC dc, const RECT& client, const RECT& tabs) {
    RECT page = client;
    switch (TabSide(handle_)) {
    case tsBottom:
        page.bottom = tabs.top;
        break;
    case tsLeft:
        page.left = tabs.right;
        break;
    case tsRight:
        page.right = tabs.left;
        break;
    default:
        page.top = tabs.bottom;
        break;
    }
    TBitmap& border = *skinData_->Tabs->Picture2;
    if (border.Empty()) {
        DrawEdge(dc, &page, EDGE_RAISED, BF_RECT);
        return;
    }
    TSkinElementStyle style;
    int margin = std::max(1, std::min({3, border.Width() / 3, border.Height() / 3}));
    style.margins = {margin, margin, margin, margin};
    DrawSkinElementTransparent(dc, page, border, style, SkinCells::WholePicture, false);
}

namespace {

// A selected tab is raised over its neighbours and reaches into the page border, as system
// tabs are.
RECT RaisedTab(const RECT& tab, TTabSide side) {
    RECT rect = tab;
    switch (side) {
    case tsBottom:
        InflateRect(&rect, 2, 0), rect.top -= 1, rect.bottom += 2;
        break;
    case tsLeft:
        InflateRect(&rect, 0, 2), rect.left -= 2, rect.right += 1;
        break;
    case tsRight:
        InflateRect(&rect, 0, 2), rect.left -= 1, rect.right += 2;
        break;
    default:
        InflateRect(&rect, 2, 0), rect.top -= 2, rect.bottom += 1;
        break;
    }
    return rect;
}

// The caption in `content` (after the image, if any) of the tab at `tab`.
void DrawTabText(HDC dc, const std::wstring& text, const RECT& tab, const RECT& content, TTabSide side,
                 bool selected, COLORREF colour) {
    SetTextColor(dc, colour);
    if (side == tsLeft || side == tsRight) {
        DrawTurnedText(dc, text, content, side);
        return;
    }
    UINT format = DT_SINGLELINE | DT_VCENTER | (content.left == tab.left ? DT_CENTER : DT_LEFT);
    RECT textRect = content;
    if (selected && side == tsTop) OffsetRect(&textRect, 0, -1);
    DrawTextOf(dc, text, &textRect, format);
}

}  // namespace

void TSkinTab::DrawTab(HDC dc, int index, const RECT& itemRect, bool selected) {
    TTabSide side = TabSide(handle_);
    RECT rect = selected ? RaisedTab(itemRect, side) : itemRect;
    bool hot = index == hotTab_ && !selected;
    int cell = !enabled_ ? SkinCells::TabDisabled
               : selected ? SkinCells::TabSelected
               : hot      ? SkinCells::TabHot
                          : SkinCells::TabNormal;
    DrawTurnedTab(dc, rect, *skinData_->Tabs, cell, side);
    int image = -1;
    std::wstring text = TabText(handle_, index, image);
    RECT content = rect;
    content.left = DrawTabImage(dc, content, image, text);
    if (!text.empty()) {
        COLORREF colour = !enabled_ ? Rgb(skinData_->Colours.ButtonShadow)
                          : hot      ? Rgb(skinData_->Tabs->MouseOverColour2)
                                     : Rgb(skinData_->Tabs->NormalColour2);
        DrawTabText(dc, text, rect, content, side, selected, colour);
    }
    if (selected && focused_) {
        RECT focus = rect;
        InflateRect(&focus, -3, -3);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
}

// The tab's image from the control's image list, centred with the text in `content`; where
// the text begins (content's left when there is no image).
int TSkinTab::DrawTabImage(HDC dc, const RECT& content, int image, const std::wstring& text) {
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(handle_, TCM_GETIMAGELIST, 0, 0));
    int imageWidth = 0, imageHeight = 0;
    if (!images || image < 0 || !ImageList_GetIconSize(images, &imageWidth, &imageHeight)) return content.left;
    int textWidth = 0;
    if (!text.empty()) {
        textWidth = TextExtentOf(dc, text).cx + 3;
    }
    int x = content.left + std::max<int>(3, (content.right - content.left - imageWidth - textWidth) / 2);
    int y = content.top + (content.bottom - content.top - imageHeight) / 2;
    ImageList_Draw(images, image, dc, x, y, ILD_TRANSPARENT);
    return x + imageWidth + 3;
}

