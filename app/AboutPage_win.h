#pragma once
// The About page's behaviour (links, their colours, the help file) attached to the main
// window's controls.
#include <memory>

#include "app/MainForm_win.h"

std::unique_ptr<TMainFormPart> AttachAboutPage(TVyrfForm1& form);
