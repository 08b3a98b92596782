// Track bars: the control draws its channel and ticks; its custom-draw notifications (which
// its parent hands back to it) let the painter draw the thumb from the push-button picture.
#include "skin/controls/SkinPainters_win.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/stored/SkinData_win.h"
#include "skin/draw/SkinElementLayout.h"
#include "skin/draw/SkinPaint_win.h"

using namespace SkinPainting;

bool TSkinTrackBar::BeforeMessage(TMessage& message) {
    if (message.Msg == WM_ERASEBKGND) {
        message.Result = 1;  // the control fills its background when it paints
        return false;
    }
    if (message.Msg == CN_NOTIFY && !skinData_->NotReady()) {
        auto* header = reinterpret_cast<NMHDR*>(message.LParam);
        if (header->hwndFrom == handle_ && header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
            message.Result = CustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(message.LParam));
            return false;
        }
    }
    return true;
}

LRESULT TSkinTrackBar::CustomDraw(NMCUSTOMDRAW& draw) {
    if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT || draw.dwItemSpec != TBCD_THUMB) return CDRF_DODEFAULT;
    TDataSkinButton& buttons = skinData_->Buttons;
    const RECT& thumb = draw.rc;
    if (buttons.HasPicture()) {
        // A thumb is much smaller than a button: its fixed margins shrink with it, so that the
        // button's outline stays crisp instead of being squeezed into a blur.
        TSkinElementStyle style = ElementStyle(buttons);
        int room = std::max<int>(1, std::min(thumb.right - thumb.left, thumb.bottom - thumb.top) / 3);
        style.margins = {std::min(style.margins.left, room), std::min(style.margins.top, room),
                         std::min(style.margins.right, room), std::min(style.margins.bottom, room)};
        OffScreen(draw.hdc, thumb, [&](HDC buffer, const RECT& local) {
            FillColour(buffer, local, Rgb(skinData_->Colours.ButtonFace));
            DrawSkinElementTransparent(buffer, local, *buttons.Picture, style, SkinCells::PushHot, buttons.Trans == 1);
        });
    } else {
        FillColour(draw.hdc, thumb, Rgb(skinData_->Colours.ButtonShadow));
    }
    return CDRF_SKIPDEFAULT;
}

// The control repaints itself on every change; the thumb comes through its notifications.
void TSkinTrackBar::AfterMessage(TMessage& message) {
    if (message.Msg == WM_NCDESTROY) Release();
}
