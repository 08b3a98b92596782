#pragma once
// A popup-menu window ("#32768") of the program dressed in the skin: its frame drawn from the
// menu background, its items drawn by the owner-drawn menu code, which finds the background
// under each item here.
#include <windows.h>

#include <vector>

#include "toolkit/GdiGuards_win.h"

class TSkinData;

class TSkinPopupMenu {
public:
    // Hooks the popup window (while it is being created).
    TSkinPopupMenu(HWND window, TSkinData& skinData);
    // Unhooks it.
    ~TSkinPopupMenu();
    TSkinPopupMenu(const TSkinPopupMenu&) = delete;
    TSkinPopupMenu& operator=(const TSkinPopupMenu&) = delete;

    HWND Handle() const { return handle_; }
    TSkinData& SkinData() const { return skinData_; }
    // The menu the popup shows; null until it is known.
    HMENU Menu() const { return menu_; }
    // The menu background rendered at the window's size (null without one), and where the
    // client area, in which items are drawn, lies in it.
    HBITMAP Background() const { return background_.Get(); }
    POINT ClientOffset() const;

    // The popup an owner-drawn item is being drawn on: the window of the drawing context,
    // else the popup showing `menu`, else the popup being drawn whose menu was still unknown
    // (which then records `menu`). nullptr when none is hooked.
    static TSkinPopupMenu* ForItem(HMENU menu, HDC dc);
    // The hooked popups, oldest (the outermost open menu) first.
    static const std::vector<TSkinPopupMenu*>& Hooked();

private:
    void Hook();
    void Unhook();
    static LRESULT CALLBACK PopupWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
    bool Dressed() const;
    void LearnMenu();
    bool RenderBackground();
    void PaintFrame(HDC windowDC);
    LRESULT OnPaint();
    LRESULT OnPrint(HDC dc, LPARAM flags);

    HWND handle_;
    TSkinData& skinData_;
    WNDPROC previousProc_ = nullptr;
    HMENU menu_ = nullptr;
    TBitmapHandle background_;
    SIZE backgroundSize_{};
};
