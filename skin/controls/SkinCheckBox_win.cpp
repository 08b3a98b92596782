// Check boxes and radio buttons: the control paints itself (caption, focus), then the box is
// drawn over from the skin's picture, again after everything that redraws the control.
#include "skin/controls/SkinPainters_win.h"

#include <algorithm>

#include "skin/stored/SkinData_win.h"
#include "skin/draw/SkinElementLayout.h"
#include "skin/draw/SkinPaint_win.h"

using namespace SkinPainting;

namespace {

bool RedrawsButton(UINT msg) {
    switch (msg) {
    case WM_PAINT:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_CLICK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
    case WM_CAPTURECHANGED:
        return true;
    default:
        return false;
    }
}

}  // namespace

TBitmap* TSkinCheckBox::Picture(int& frames) const {
    frames = skinData_->Buttons.CheckFrameCount;
    return skinData_->Buttons.CheckPicture.get();
}

int TSkinCheckBox::Cell() const {
    if (!enabled_) return SkinCells::CheckDisabled;
    switch (SendMessageW(handle_, BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
        return SkinCells::CheckChecked;
    case BST_INDETERMINATE:
        return SkinCells::CheckIndeterminate;
    default:
        return SkinCells::CheckUnchecked;
    }
}

TBitmap* TSkinRadioButton::Picture(int& frames) const {
    frames = skinData_->Buttons.RadioFrameCount;
    return skinData_->Buttons.RadioPicture.get();
}

int TSkinRadioButton::Cell() const {
    bool checked = SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (!enabled_) return checked ? SkinCells::RadioDisabledChecked : SkinCells::RadioDisabled;
    return checked ? SkinCells::RadioChecked : SkinCells::RadioUnchecked;
}

void TSkinCheckBox::AfterMessage(TMessage& message) {
    TSkinControl::AfterMessage(message);  // paints the box after WM_PAINT
    if (message.Msg != WM_PAINT && RedrawsButton(message.Msg)) Repaint();
}

void TSkinCheckBox::Paint(HDC dc, const RECT& rect) {
    if (skinData_->NotReady()) return;
    int frames = 0;
    TBitmap* picture = Picture(frames);
    if (!picture || picture->Empty()) return;
    RefreshState();
    frames = std::max(1, frames);
    int width = picture->Width() / frames, height = picture->Height();
    int systemBox = 13;  // what the control drew itself, covered by the fill
    int boxWidth = std::max(width, systemBox), boxHeight = std::max(height, systemBox);
    bool textLeft = (GetWindowLongW(handle_, GWL_STYLE) & BS_LEFTTEXT) != 0;
    int inset = width < 15 ? (14 - width) / 2 : 0;
    int x = textLeft ? rect.right - boxWidth - inset : rect.left + inset;
    int y = rect.top + (rect.bottom - rect.top - boxHeight) / 2;
    RECT box{x, y, x + boxWidth, y + boxHeight};
    int cell = Cell();
    OffScreen(dc, box, [&](HDC buffer, const RECT& local) {
        FillColour(buffer, local, Rgb(skinData_->Colours.ButtonFace));
        RECT at{(boxWidth - width) / 2, (boxHeight - height) / 2, boxWidth, boxHeight};
        DrawCell(buffer, at, *picture, false, frames, cell);
    });
}
