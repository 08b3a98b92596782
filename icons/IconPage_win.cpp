#include "icons/IconPage_win.h"

// The icon page's buttons have no handlers yet: nothing is attached.
std::unique_ptr<TMainFormPart> AttachIconPage(TVyrfForm1&) { return nullptr; }
