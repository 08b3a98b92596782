#pragma once
// A popup-menu window ("#32768") of the program dressed in the skin: its frame drawn from the
// menu background, its items drawn by the owner-drawn menu code.
#include <windows.h>

class TSkinData;

class TSkinPopupMenu {
public:
    // Hooks the popup window while it is being created.
    TSkinPopupMenu(HWND window, TSkinData& skinData);
    // Unhooks it.
    ~TSkinPopupMenu();
    TSkinPopupMenu(const TSkinPopupMenu&) = delete;
    TSkinPopupMenu& operator=(const TSkinPopupMenu&) = delete;
    HWND Handle() const { return handle_; }

private:
    HWND handle_;
    TSkinData& skinData_;
};
