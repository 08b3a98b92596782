// The program's entry: refuse a second instance, name the application, create the main
// window and the hidden preview window, and run the message loop.
#include <windows.h>

#include "app/MainForm_win.h"
#include "app/ProgramTexts.h"
#include "app/StartupUnits_win.h"
#include "convert/PreviewForm_win.h"
#include "toolkit/Application_win.h"

namespace {

// A running instance is its main window: the class and the caption must both match. Hidden
// windows count, so a minimised instance is found too.
bool HandOverToRunningInstance() {
    HWND running = FindWindowA(ProgramText::MainFormClass, ProgramText::MainCaption);
    if (!running) return false;
    MessageBoxA(nullptr, ProgramText::AlreadyRunning, ProgramText::Title, MB_OK);
    SetForegroundWindow(running);
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TApplication application;
    InitializeProgramUnits(application);
    if (HandOverToRunningInstance()) {
        FinalizeProgramUnits();
        return 0;
    }
    try {
        application.Initialize();
        application.SetTitle(ProgramText::Title);
        application.CreateForm<TVyrfForm1>();
        application.CreateForm<TForm2>();
    } catch (...) {
        application.HandleException(&application);
        FinalizeProgramUnits();
        return 1;
    }
    application.Run();
    FinalizeProgramUnits();
    return 0;
}
