#pragma once
// The icon extraction page's handlers and state, attached to the main window's controls
// (BitBtn8, BitBtn5, BitBtn6, BitBtn7, BitBtn1, TabSheet2's OnShow, ...) when it is created.
#include <memory>

#include "app/MainForm_win.h"

std::unique_ptr<TMainFormPart> AttachIconPage(TVyrfForm1& form);
