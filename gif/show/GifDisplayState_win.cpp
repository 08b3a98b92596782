#include "gif/show/GifDisplayState_win.h"

#include "picture/bmp/Bitmap_win.h"

TGIFDisplayState::TGIFDisplayState() = default;

TGIFDisplayState::~TGIFDisplayState() = default;
