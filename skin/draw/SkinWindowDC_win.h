#pragma once
// A device context of a whole window, frame included (GetWindowDC / ReleaseDC).
#include <windows.h>

class TWholeWindowDC {
public:
    explicit TWholeWindowDC(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~TWholeWindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    TWholeWindowDC(const TWholeWindowDC&) = delete;
    TWholeWindowDC& operator=(const TWholeWindowDC&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};
