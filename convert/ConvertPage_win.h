#pragma once
// The picture conversion page's handlers and state, attached to the main window's controls
// (BitBtn9, BitBtn10, Image3, TrackBar1, TabSheet4's OnShow, ...) when it is created.
#include <memory>

#include "app/MainForm_win.h"

std::unique_ptr<TMainFormPart> AttachConvertPage(TVyrfForm1& form);
