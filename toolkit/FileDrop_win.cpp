#include "toolkit/FileDrop_win.h"

#include "toolkit/LateBoundLibraries_win.h"

std::wstring TakeFirstDroppedFile(HDROP drop) {
    std::wstring name;
    if (LateBound::DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        const UINT length = LateBound::DragQueryFile(drop, 0, nullptr, 0);
        name.assign(length + 1, L'\0');
        name.resize(LateBound::DragQueryFile(drop, 0, &name[0], length + 1));
    }
    LateBound::DragFinish(drop);
    return name;
}
