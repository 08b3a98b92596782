#pragma once
// What the pages say of a chosen name that is no file (also said for a file dropped on the About page).
#include <windows.h>

#include "pages/PageTexts.h"
#include "toolkit/WideText_win.h"

// A name that is no file: it does not exist, or it is a folder.
inline void ShowMissingFileMessage(HWND owner) {
    MessageBoxW(owner, Wide(PageText::MissingFile), Wide(ProgramText::MessageCaption), MB_OK);
}
