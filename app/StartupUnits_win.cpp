#include "app/StartupUnits_win.h"

#include "toolkit/HintWindow_win.h"

void InitializeProgramUnits(TApplication& application) {
    application.SetHintWindowClass(MakeHintWindow<THintWindow>);
}
