#pragma once
// The notification-area icon and its callback message (1026) are attached to the main
// window here; the part adds the icon when attached and removes it in FormDestroying.
#include <memory>

#include "app/MainForm_win.h"

std::unique_ptr<TMainFormPart> AttachTrayIcon(TVyrfForm1& form);
