// Group boxes: the caption is drawn in the skin's ButtonText colour (the box's font colour is
// set before each paint); where the skin has a group-box edge, the box's etched frame is
// replaced by it after the box painted itself, leaving the caption uncovered.
#include "skin/controls/SkinPainters_win.h"

#include "skin/stored/SkinData_win.h"
#include "skin/draw/SkinElementLayout.h"
#include "skin/draw/SkinPaint_win.h"
#include "toolkit/WinControl_win.h"
#include "toolkit/WideText_win.h"

using namespace SkinPainting;

void TSkinBox::AttachControl(TWinControl& control, TSkinData& skinData, bool setColour) {
    ownFontColour_ = control.Font().Color();
    TSkinControl::AttachControl(control, skinData, setColour);
}

void TSkinBox::Release() {
    TWinControl* control = control_;
    bool giveBack = control && !WindowDestroying() && !control->Destroying();
    TSkinControl::Release();
    if (giveBack) control->Font().SetColor(ownFontColour_);
}

bool TSkinBox::BeforeMessage(TMessage& message) {
    if (message.Msg == WM_PAINT && control_ && !skinData_->NotReady()) {
        TColor text = skinData_->Colours.ButtonText;
        if (control_->Font().Color() != text) control_->Font().SetColor(text);
    }
    return true;
}

void TSkinBox::Paint(HDC dc, const RECT& rect) {
    if (skinData_->NotReady() || !skinData_->GroupBoxEdge || !skinData_->GroupBoxEdge->HasPicture()) return;
    RefreshState();
    TSavedDCState state(dc);
    SIZE text{0, 0};
    {
        TSelection font(dc, ControlFont());
        const std::wstring measured = text_.empty() ? std::wstring(L"0") : text_;
        text = TextExtentOf(dc, measured);
    }
    if (!text_.empty()) ExcludeClipRect(dc, 8, 0, 8 + text.cx + 2, text.cy);
    RECT frame{rect.left, rect.top + text.cy / 2, rect.right, rect.bottom};
    // The box's own etched lines go first; rounded corners leave them uncovered otherwise.
    COLORREF face = Rgb(skinData_->Colours.ButtonFace);
    RECT ring = frame;
    for (int i = 0; i < 2; ++i) {
        FrameColour(dc, ring, face);
        InflateRect(&ring, -1, -1);
    }
    int cell = enabled_ ? SkinCells::GroupEnabled : SkinCells::GroupDisabled;
    DrawSkinObject(dc, frame, *skinData_->GroupBoxEdge, cell);
}
