#include "app/AboutPage_win.h"

// The About page's links and the help command are not wired up yet: nothing is attached.
std::unique_ptr<TMainFormPart> AttachAboutPage(TVyrfForm1&) { return nullptr; }
