#include "skin/draw/SkinNCObject_win.h"

#include "skin/frame/SkinForm_win.h"

void TNCObject::SetState(int state) {
    if (State == state) return;
    State = state;
    HDC dc = GetWindowDC(owner_.Handle());
    if (!dc) return;
    Paint(dc);
    ReleaseDC(owner_.Handle(), dc);
}
