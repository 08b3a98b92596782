#include "DriverCommands.h"

#include <windows.h>

#include "FolderDialogSelect.h"
#include "ProcessTiming.h"
#include "WindowSearch.h"

namespace {

long long Handle(HWND window) { return static_cast<long long>(reinterpret_cast<uintptr_t>(window)); }

TReply WindowList(const std::vector<HWND>& windows) {
    TReply reply;
    for (HWND window : windows) reply.AddRaw(DescribeWindow(window));
    return reply;
}

// A message to another program's window that gives up after 5 s when it does not answer.
LRESULT AskWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result))
        throw DriverError("the window did not answer message " + std::to_string(message) + " in time");
    return static_cast<LRESULT>(result);
}

std::map<std::string, TExtraVerbHandler>& ExtraVerbs() {
    static std::map<std::string, TExtraVerbHandler> verbs;
    return verbs;
}

}  // namespace

TExtraVerb::TExtraVerb(const char* name, TExtraVerbHandler handler) { ExtraVerbs()[name] = handler; }

TDriverCommands::TDriverCommands()
    : verbs_{{"ping", &TDriverCommands::Ping},
             {"start", &TDriverCommands::Start},
             {"wait_exit", &TDriverCommands::WaitExit},
             {"kill", &TDriverCommands::Kill},
             {"kill_all", &TDriverCommands::KillAll},
             {"list_top", &TDriverCommands::ListTop},
             {"list_children", &TDriverCommands::ListChildren},
             {"info", &TDriverCommands::Info},
             {"set_text", &TDriverCommands::SetText},
             {"send", &TDriverCommands::Send},
             {"post", &TDriverCommands::Post},
             {"foreground", &TDriverCommands::Foreground},
             {"active", &TDriverCommands::Active},
             {"cursor", &TDriverCommands::Cursor},
             {"xwindow", &TDriverCommands::XWindow},
             {"window_at", &TDriverCommands::WindowAt},
             {"browse_select", &TDriverCommands::BrowseSelect},
             {"tree_selection", &TDriverCommands::TreeSelection},
             {"tree_select_child", &TDriverCommands::TreeSelectChild},
             {"combo_items", &TDriverCommands::ComboItems},
             {"metric", &TDriverCommands::Metric},
             {"codepage", &TDriverCommands::CodePage},
             {"cpu_time", &TDriverCommands::CpuTime},
             {"time_press", &TDriverCommands::TimePress},
             {"redraw", &TDriverCommands::Redraw},
             {"region_size", &TDriverCommands::RegionSize},
             {"quit", &TDriverCommands::Quit}} {}

std::string TDriverCommands::Run(const TRequest& request) {
    auto verb = verbs_.find(request.Verb());
    if (verb != verbs_.end()) return (this->*(verb->second))(request).Line();
    auto extra = ExtraVerbs().find(request.Verb());
    if (extra == ExtraVerbs().end()) throw DriverError("unknown verb: " + request.Verb());
    return extra->second(request).Line();
}

TReply TDriverCommands::Ping(const TRequest&) { return TReply().Add(GetCurrentProcessId()); }

// start <exe> <working folder> <arguments>
TReply TDriverCommands::Start(const TRequest& request) {
    return TReply().Add(processes_.Start(request.Text(0), request.Text(1), request.Text(2)));
}

// wait_exit <pid> <timeout ms>: "exited <code>" or "running"
TReply TDriverCommands::WaitExit(const TRequest& request) {
    DWORD exitCode = 0;
    if (!processes_.WaitForExit(static_cast<DWORD>(request.Number(0)), static_cast<DWORD>(request.Number(1)),
                                exitCode))
        return TReply().AddRaw("running");
    return TReply().AddRaw("exited").Add(exitCode);
}

TReply TDriverCommands::Kill(const TRequest& request) {
    processes_.Kill(static_cast<DWORD>(request.Number(0)));
    return TReply();
}

TReply TDriverCommands::KillAll(const TRequest&) { return TReply().Add(processes_.KillAll()); }

// list_top <pid or 0>
TReply TDriverCommands::ListTop(const TRequest& request) {
    return WindowList(TopLevelWindows(static_cast<DWORD>(request.Count() ? request.Number(0) : 0)));
}

TReply TDriverCommands::ListChildren(const TRequest& request) {
    return WindowList(DescendantWindows(WindowFromToken(request.Number(0))));
}

TReply TDriverCommands::Info(const TRequest& request) {
    return TReply().AddRaw(DescribeWindow(WindowFromToken(request.Number(0))));
}

// set_text <hwnd> <text>: WM_SETTEXT (wide), as a program or a user's paste would change it
TReply TDriverCommands::SetText(const TRequest& request) {
    std::wstring text = WideFrom(936, request.Text(1));
    HWND window = WindowFromToken(request.Number(0));
    return TReply().Add(SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

// send <hwnd> <message> <wParam> <lParam>: gives up after 5 s when the window does not answer
TReply TDriverCommands::Send(const TRequest& request) {
    return TReply().Add(static_cast<long long>(
        AskWindow(WindowFromToken(request.Number(0)), static_cast<UINT>(request.Number(1)),
                  static_cast<WPARAM>(request.Number(2)), static_cast<LPARAM>(request.Number(3)))));
}

TReply TDriverCommands::Post(const TRequest& request) {
    if (!PostMessageA(WindowFromToken(request.Number(0)), static_cast<UINT>(request.Number(1)),
                      static_cast<WPARAM>(request.Number(2)), static_cast<LPARAM>(request.Number(3))))
        throw DriverError("PostMessage failed");
    return TReply();
}

// foreground <hwnd>: brings a window to the front; answers the foreground window afterwards
TReply TDriverCommands::Foreground(const TRequest& request) {
    HWND window = WindowFromToken(request.Number(0));
    SetForegroundWindow(window);
    BringWindowToTop(window);
    return TReply().Add(Handle(GetForegroundWindow()));
}

// active: the foreground window and the window with the keyboard focus in its thread
TReply TDriverCommands::Active(const TRequest&) {
    HWND foreground = GetForegroundWindow();
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (foreground) GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info);
    return TReply().Add(Handle(foreground)).Add(Handle(info.hwndFocus)).Add(Handle(info.hwndCapture));
}

TReply TDriverCommands::Cursor(const TRequest&) {
    POINT point = {};
    GetCursorPos(&point);
    return TReply().Add(point.x).Add(point.y);
}

// xwindow <hwnd>: the X11 window Wine shows a top-level window in (0 if it has none yet), so
// the Linux side can give it the X input focus before typing
TReply TDriverCommands::XWindow(const TRequest& request) {
    HANDLE xid = GetPropA(WindowFromToken(request.Number(0)), "__wine_x11_whole_window");
    return TReply().Add(static_cast<long long>(reinterpret_cast<uintptr_t>(xid)));
}

TReply TDriverCommands::WindowAt(const TRequest& request) {
    POINT point = {static_cast<LONG>(request.Number(0)), static_cast<LONG>(request.Number(1))};
    return TReply().Add(Handle(WindowFromPoint(point)));
}

// browse_select <folder browser hwnd> <path>
TReply TDriverCommands::BrowseSelect(const TRequest& request) {
    return TReply().Add(SelectFolderInBrowser(WindowFromToken(request.Number(0)), request.Text(1)));
}

// tree_selection <tree view hwnd>: the text of its selected item
TReply TDriverCommands::TreeSelection(const TRequest& request) {
    return TReply().AddText(SelectedTreeItemText(WindowFromToken(request.Number(0))));
}

// tree_select_child <tree view hwnd> <text>: 1 when the selected item had such a child
TReply TDriverCommands::TreeSelectChild(const TRequest& request) {
    return TReply().Add(SelectTreeChild(WindowFromToken(request.Number(0)), request.Text(1)) ? 1 : 0);
}

// combo_items <drop-down list hwnd>: the index of the selected item, then every item's text.
// Item texts are read as the list's own text while each is selected in turn (a pointer-carrying
// CB_GETLBTEXT does not cross processes under Wine); the selection is put back without
// notifying the owner.
TReply TDriverCommands::ComboItems(const TRequest& request) {
    HWND combo = WindowFromToken(request.Number(0));
    TReply reply;
    const LRESULT selected = AskWindow(combo, CB_GETCURSEL, 0, 0);
    reply.Add(static_cast<long long>(selected));
    const LRESULT count = AskWindow(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        AskWindow(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        reply.AddText(WindowText(combo));
    }
    AskWindow(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    return reply;
}

TReply TDriverCommands::Metric(const TRequest& request) {
    return TReply().Add(GetSystemMetrics(static_cast<int>(request.Number(0))));
}

TReply TDriverCommands::CodePage(const TRequest&) { return TReply().Add(GetACP()); }

// cpu_time <pid>: the process's processor time in microseconds
TReply TDriverCommands::CpuTime(const TRequest& request) {
    return TReply().Add(ProcessorMicroseconds(static_cast<DWORD>(request.Number(0))));
}

// time_press <button> <status hwnd> <prefix> <pid> <timeout ms>: presses a dialog button and
// answers the wall and processor microseconds until the dialog went, then until the status
// text began with the prefix
TReply TDriverCommands::TimePress(const TRequest& request) {
    TPressTiming t = TimeButtonPress(WindowFromToken(request.Number(0)), WindowFromToken(request.Number(1)),
                                     request.Text(2), static_cast<DWORD>(request.Number(3)),
                                     static_cast<DWORD>(request.Number(4)));
    return TReply().Add(t.closeWall).Add(t.closeProcessor).Add(t.resultWall).Add(t.resultProcessor);
}

// redraw <hwnd>: microseconds a full repaint of the window and its children takes
TReply TDriverCommands::Redraw(const TRequest& request) {
    return TReply().Add(RedrawMicroseconds(WindowFromToken(request.Number(0))));
}

// region_size <hwnd>: the width and height of the window's region's bounds, 0 0 without one
TReply TDriverCommands::RegionSize(const TRequest& request) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    RECT box{};
    if (GetWindowRgn(WindowFromToken(request.Number(0)), region) == ERROR || GetRgnBox(region, &box) == ERROR)
        box = {};
    DeleteObject(region);
    return TReply().Add(box.right - box.left).Add(box.bottom - box.top);
}

TReply TDriverCommands::Quit(const TRequest&) {
    quit_ = true;
    return TReply().Add(processes_.KillAll());
}
