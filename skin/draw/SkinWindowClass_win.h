#pragma once
// Window-class names, which every part of the engine reads to decide how a window is dressed.
#include <windows.h>

#include <string>

// The class name as the system gives it ("" for a window that is gone).
std::string WindowClassName(HWND window);
// Class names compare without regard to case: ASCII letters lowered, other bytes (code-page
// 936 lead and trail bytes among them) left alone.
std::string LowerClassName(const std::string& name);
// The class name of a window, lowered so.
std::string LowerWindowClass(HWND window);
