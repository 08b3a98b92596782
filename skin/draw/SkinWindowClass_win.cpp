#include "skin/draw/SkinWindowClass_win.h"

#include <algorithm>

std::string WindowClassName(HWND window) {
    char name[256] = {};
    int length = GetClassNameA(window, name, sizeof name);
    return length > 0 ? std::string(name, static_cast<size_t>(length)) : std::string();
}

std::string LowerClassName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

std::string LowerWindowClass(HWND window) { return LowerClassName(WindowClassName(window)); }
