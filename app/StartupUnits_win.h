#pragma once
// What the program's parts set up before any window exists (the hint window class, the
// picture formats they add), and undo at the end.
#include "toolkit/Application_win.h"

void InitializeProgramUnits(TApplication& application);
void FinalizeProgramUnits();
