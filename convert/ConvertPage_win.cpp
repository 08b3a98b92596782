#include "convert/ConvertPage_win.h"

// The conversion page's buttons have no handlers yet: nothing is attached.
std::unique_ptr<TMainFormPart> AttachConvertPage(TVyrfForm1&) { return nullptr; }
