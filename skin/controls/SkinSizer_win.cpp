// Size grips: the skin's face with the size-grip cell of the scroll-bar picture in the lower
// right corner (the system's grip lines in the skin's face when the skin has none). Scroll-bar
// windows that are real scroll bars keep their own look.
#include "skin/controls/SkinPainters_win.h"

#include "skin/stored/SkinData_win.h"
#include "skin/draw/SkinElementLayout.h"
#include "skin/draw/SkinPaint_win.h"

using namespace SkinPainting;

bool TSkinSizer::IsSizeGrip() const { return (GetWindowLongW(handle_, GWL_STYLE) & SBS_SIZEGRIP) != 0; }

bool TSkinSizer::BeforeMessage(TMessage& message) {
    if (skinData_->NotReady() || !IsSizeGrip()) return true;
    return !PaintsInsteadOfControl(message);
}

void TSkinSizer::Paint(HDC dc, const RECT& rect) {
    if (!IsSizeGrip()) return;
    OffScreen(dc, rect, [&](HDC buffer, const RECT& local) {
        FillColour(buffer, local, Rgb(skinData_->Colours.ButtonFace));
        TDataSkinObject* arrows = skinData_->Scrollbar.get();
        if (arrows && arrows->HasPicture() && arrows->FrameCount >= SkinCells::ScrollSizeGrip) {
            int size = arrows->Picture->Width() / arrows->FrameCount;
            RECT at{local.right - size, local.bottom - arrows->Picture->Height(), local.right, local.bottom};
            DrawCell(buffer, at, *arrows->Picture, arrows->Trans == 1, arrows->FrameCount, SkinCells::ScrollSizeGrip);
        } else {
            RECT grip = local;
            DrawFrameControl(buffer, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        }
    });
}
