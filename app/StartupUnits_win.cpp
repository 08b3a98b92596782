#include "app/StartupUnits_win.h"

#include "app/IconHintX_win.h"

void InitializeProgramUnits(TApplication& application) {
    application.SetHintWindowClass(MakeHintWindow<TIconHintX>);
}
