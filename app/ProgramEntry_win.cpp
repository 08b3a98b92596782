// The program's entry: refuse a second instance, name the application, create the main
// window and the hidden preview window, and run the message loop.
#include <windows.h>

#include <memory>

#include "app/MainForm_win.h"
#include "app/StartupUnits_win.h"
#include "base/Exceptions.h"
#include "convert/PreviewForm_win.h"
#include "pages/ProgramTexts.h"
#include "skin/stored/SkinDecodeAhead_win.h"
#include "skin/stored/StoredSkins_win.h"
#include "toolkit/Application_win.h"
#include "toolkit/WideText_win.h"

namespace {

// A running instance is its main window: the class and the caption must both match. Hidden
// windows count, so a minimised instance is found too.
bool HandOverToRunningInstance() {
    HWND running = FindWindowW(Wide(ProgramText::MainFormClass), Wide(ProgramText::MainCaption));
    if (!running) return false;
    MessageBoxW(nullptr, Wide(ProgramText::AlreadyRunning), Wide(ProgramText::Title), MB_OK);
    SetForegroundWindow(running);
    return true;
}

// The main window's first skin, decoded on the second processor core while this thread makes
// the application's and the main window's windows. A skin that cannot be read is left to the
// window, which reports it as before.
std::unique_ptr<TSkinDecodeAhead> DecodeFirstSkinAhead() {
    try {
        return std::make_unique<TSkinDecodeAhead>(StoredSkinBytes(TVyrfForm1::kFirstSkin));
    } catch (const Exception&) {
        return nullptr;
    }
}

// The program's run, from the units' start to the destruction of its forms: the forms go
// (the main window takes its tray icon with it) while the units they use are still in place.
int RunProgram() {
    TApplication application;
    InitializeProgramUnits(application);
    if (HandOverToRunningInstance()) return 0;
    try {
        std::unique_ptr<TSkinDecodeAhead> firstSkin = DecodeFirstSkinAhead();
        application.Initialize();
        application.SetTitle(ProgramText::Title);
        application.CreateForm<TVyrfForm1>();
        application.CreateForm<TForm2>();
    } catch (...) {
        application.HandleException(&application);
        return 1;
    }
    application.Run();
    return 0;
}

}  // namespace

// The units finalise after every form is gone, in the reverse order of their start.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int exitCode = RunProgram();
    FinalizeProgramUnits();
    return exitCode;
}
