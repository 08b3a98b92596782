#include "app/TrayIcon_win.h"

// The program has no notification-area icon yet: nothing is attached.
std::unique_ptr<TMainFormPart> AttachTrayIcon(TVyrfForm1&) { return nullptr; }
