// Combo boxes: after the control painted itself, its 3D border is covered by the skin's
// sunken edge (cell 1 normal, 2 under the mouse, 3 focused, 4 disabled) and its drop button
// by the combo button (cell 1 normal, 2 under the mouse, 3 dropped down, 4 disabled), or by a
// plain face with the skin's drop-down arrow when the skin has no combo button.
#include "skin/controls/SkinPainters_win.h"

#include "skin/stored/SkinData_win.h"
#include "skin/draw/SkinElementLayout.h"
#include "skin/draw/SkinPaint_win.h"

using namespace SkinPainting;

namespace {

bool RedrawsCombo(UINT msg) {
    switch (msg) {
    case WM_PAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_COMMAND:  // from its edit or list
    case CB_SHOWDROPDOWN:
    case CB_SETCURSEL:
    case WM_SIZE:
        return true;
    default:
        return false;
    }
}

bool Present(const std::unique_ptr<TDataSkinObject>& element) { return element && element->HasPicture(); }

}  // namespace

RECT TSkinComBox::ButtonRect() const {
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(handle_, &info) && info.rcButton.right > info.rcButton.left) return info.rcButton;
    RECT client;
    GetClientRect(handle_, &client);
    int width = GetSystemMetrics(SM_CXVSCROLL);
    return {client.right - 2 - width, client.top + 2, client.right - 2, client.bottom - 2};
}

void TSkinComBox::AfterMessage(TMessage& message) {
    if (FollowHover(message)) return;
    switch (message.Msg) {
    case WM_NCDESTROY:
        Release();
        break;
    default:
        // Painted over at once rather than by invalidating: the control draws these itself.
        if (RedrawsCombo(message.Msg)) Repaint();
        break;
    }
}

void TSkinComBox::Paint(HDC dc, const RECT& rect) {
    if (skinData_->NotReady()) return;
    RefreshState();
    bool dropped = SendMessageW(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
    LONG style = GetWindowLongW(handle_, GWL_STYLE);
    bool list = (style & 3) == CBS_DROPDOWNLIST;
    if (Present(skinData_->SunkEdge)) {
        int cell = !enabled_                ? SkinCells::SunkDisabled
                   : (focused_ || dropped) ? SkinCells::SunkFocused
                   : hot_                  ? SkinCells::SunkHot
                                           : SkinCells::SunkNormal;
        DrawSkinObject(dc, rect, *skinData_->SunkEdge, cell);
    }
    if ((style & 3) == CBS_SIMPLE) return;
    RECT button = ButtonRect();
    int cell = !enabled_ ? SkinCells::ComboDisabled
               : dropped ? SkinCells::ComboPressed
               : hot_    ? SkinCells::ComboHot
                         : SkinCells::ComboNormal;
    if (Present(skinData_->ComboButton)) {
        OffScreen(dc, button, [&](HDC buffer, const RECT& local) {
            FillColour(buffer, local, Rgb(list ? skinData_->Colours.ButtonFace : GetSysColor(COLOR_WINDOW)));
            DrawSkinObject(buffer, local, *skinData_->ComboButton, cell);
        });
        return;
    }
    OffScreen(dc, button, [&](HDC buffer, const RECT& local) {
        FillColour(buffer, local, Rgb(skinData_->Colours.ButtonFace));
        FrameColour(buffer, local, Rgb(skinData_->Colours.ButtonShadow));
        if (Present(skinData_->ExtraImages)) {
            TDataSkinObject& arrows = *skinData_->ExtraImages;
            int width = arrows.Picture->Width() / std::max(1, arrows.FrameCount), height = arrows.Picture->Height();
            RECT at{(local.right - width) / 2, (local.bottom - height) / 2, local.right, local.bottom};
            DrawCell(buffer, at, *arrows.Picture, arrows.Trans == 1, std::max(1, arrows.FrameCount), cell);
        } else {
            DrawArrow(buffer, local, arDown, enabled_ ? Rgb(skinData_->Colours.ButtonText) : GetSysColor(COLOR_BTNSHADOW));
        }
    });
}
