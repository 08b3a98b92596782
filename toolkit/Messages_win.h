#pragma once
// The message record every control's handler sees, and the toolkit's own notifications.
#include <windows.h>

#include <functional>

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// A control's message handler. Each windowed control and form has one (its WindowProc). Whoever
// wants to see its messages first adds a message hook instead of replacing it, so that
// parties hooked in a different order do not undo each other.
using TWndMethod = std::function<void(TMessage&)>;

// A hook on a control's messages (see TControl::AddMessageHook): it answers a message itself
// or hands it on with next(message), before or after looking at it.
using TMessageHook = std::function<void(TMessage& message, const TWndMethod& next)>;
using TMessageHookToken = unsigned;  // 0 is no hook

// The signed coordinates a mouse message packs into its LPARAM.
inline int PointX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
inline int PointY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

// Notifications the toolkit sends through a control's WindowProc.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_MOUSEENTER = CM_BASE + 1;     // the pointer came over the control
constexpr UINT CM_MOUSELEAVE = CM_BASE + 2;     // the pointer left it
constexpr UINT CM_MENUCHANGED = CM_BASE + 3;    // the form's main menu changed (sent to the form)
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 4;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 5;
constexpr UINT CM_FONTCHANGED = CM_BASE + 6;
constexpr UINT CM_COLORCHANGED = CM_BASE + 7;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 8;     // a character typed in the form, for accelerators
// Windows of controls were made after the form's own (a page shown for the first time); sent to
// the form, LPARAM the outermost control of them.
constexpr UINT CM_CONTROLSCREATED = CM_BASE + 9;

// Messages a parent window receives about a child are handed to the child itself as
// CN_BASE + the original message (WM_COMMAND becomes CN_COMMAND, and so on).
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
