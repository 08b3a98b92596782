// Timing another process from the outside, for the benchmarks that drive the program: its
// processor time, how long a dialog button keeps it busy, how long a window takes to repaint.
#pragma once
#include <windows.h>

#include <string>

// A steady clock in microseconds.
long long NowMicroseconds();

// User plus kernel time of the process in microseconds. Wine reports no real times for
// another process, so the times of its live threads are added up too and the larger taken.
long long ProcessorMicroseconds(DWORD processId);

// Presses a dialog button, then waits for the dialog to go and for `status` to begin with
// `prefix`. Each span in microseconds: wall and processor time until the dialog went, then
// from there until the status text. Throws DriverError after timeoutMs.
struct TPressTiming {
    long long closeWall = 0, closeProcessor = 0;
    long long resultWall = 0, resultProcessor = 0;
};
TPressTiming TimeButtonPress(HWND button, HWND status, const std::string& prefix, DWORD processId, DWORD timeoutMs);

// Invalidates the window and all its children, erasing them, and waits until they have
// repainted (their WM_PAINT is sent and answered, also across processes); wall microseconds.
long long RedrawMicroseconds(HWND window);
