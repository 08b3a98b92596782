#include "skin/draw/SkinWindowClass_win.h"

#include <algorithm>
#include "toolkit/WideText_win.h"

std::string WindowClassName(HWND window) { return ClassNameOf(window); }

std::string LowerClassName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

std::string LowerWindowClass(HWND window) { return LowerClassName(WindowClassName(window)); }
