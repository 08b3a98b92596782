#include "app/StartupUnits_win.h"

#include "app/IconHintX_win.h"
#include "gif/show/GifPicture_win.h"
#include "picture/jpeg/JpegImage_win.h"
#include "picture/png/PngImage_win.h"
#include "skin/manager/SkinManager_win.h"

// Before any window exists: the hint window class, then the picture formats the program adds
// to the built-in ones (GIF, then JPEG, then PNG).
void InitializeProgramUnits(TApplication& application) {
    application.SetHintWindowClass(MakeHintWindow<TIconHintX>);
    InitializeGifUnit();
    InitializeJpegUnit();
    InitializePngUnit();
}

// At the end, in the reverse order: the skin engine (made by the main window's first
// skin-data component) gives back whatever window is still dressed and removes its hook.
void FinalizeProgramUnits() {
    TSkinManage::Finalize();
    FinalizePngUnit();
    FinalizeJpegUnit();
    FinalizeGifUnit();
}
