#include "app/StartupUnits_win.h"

#include "app/IconHintX_win.h"
#include "gif/GifPicture_win.h"
#include "picture/JpegImage_win.h"

// Before any window exists: the hint window class, then the picture formats the program adds
// to the built-in ones (GIF, then JPEG).
void InitializeProgramUnits(TApplication& application) {
    application.SetHintWindowClass(MakeHintWindow<TIconHintX>);
    InitializeGifUnit();
    InitializeJpegUnit();
}

// At the end, in the reverse order.
void FinalizeProgramUnits() {
    FinalizeJpegUnit();
    FinalizeGifUnit();
}
