#pragma once
// System colours the controls and menus use beyond those GraphicsObjects_win.h names.
#include "toolkit/GraphicsObjects_win.h"

constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
