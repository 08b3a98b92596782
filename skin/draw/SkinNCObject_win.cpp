#include "skin/draw/SkinNCObject_win.h"

#include "skin/draw/SkinWindowDC_win.h"

void TNCObject::SetState(int state) {
    if (State == state) return;
    State = state;
    TWholeWindowDC dc(window_);
    if (dc) Paint(dc.Get());
}
