#pragma once
// A popup-menu window ("#32768") of the program dressed in the skin: its frame drawn from the
// menu background, its items drawn by the owner-drawn menu code, which finds the background
// under each item here.
#include <windows.h>

#include <memory>
#include <vector>

#include "toolkit/GdiGuards_win.h"

class TSkinData;
struct TPreparedMenuBackground;

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
    // A memory context holding the menu background rendered at the window's size (null
    // without one), and where the client area, in which items are drawn, lies in it.
    HDC BackgroundDC() const;
    POINT ClientOffset() const;

    // The popup an owner-drawn item is being drawn on: the window of the drawing context,
    // else the popup showing `menu`, else the popup being drawn whose menu was still unknown
    // (which then records `menu`). nullptr when none is hooked.
    static TSkinPopupMenu* ForItem(HMENU menu, HDC dc);
    // The hooked popups, oldest (the outermost open menu) first.
    static const std::vector<TSkinPopupMenu*>& Hooked();
    // Backgrounds are rendered once per picture and size and kept for the next popups; a skin
    // switch lets go of them.
    static void ForgetPreparedBackgrounds();

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
    void PaintOffScreen(HDC dc);
    LRESULT OnPrint(HDC dc, LPARAM flags);

    HWND handle_;
    TSkinData& skinData_;
    WNDPROC previousProc_ = nullptr;
    HMENU menu_ = nullptr;
    std::shared_ptr<TPreparedMenuBackground> background_;
};
