#include "toolkit/FileDrop_win.h"

#include <shellapi.h>

std::wstring TakeFirstDroppedFile(HDROP drop) {
    std::wstring name;
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
        name.assign(length + 1, L'\0');
        name.resize(DragQueryFileW(drop, 0, &name[0], length + 1));
    }
    DragFinish(drop);
    return name;
}
