#include "gif/GifDisplayState_win.h"

#include "picture/Bitmap_win.h"

TGIFDisplayState::TGIFDisplayState() = default;

TGIFDisplayState::~TGIFDisplayState() = default;
