// Dropping files onto a window the way Explorer does: the window under the point, or the
// nearest of its ancestors that accepts files (WS_EX_ACCEPTFILES), gets WM_DROPFILES posted
// with a DROPFILES block (wide names after the header) in its own process's memory.
#include <windows.h>

#include <shlobj.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DriverCommands.h"
#include "WindowSearch.h"

namespace {

HWND DropTargetAt(POINT point) {
    for (HWND window = WindowFromPoint(point); window; window = GetAncestor(window, GA_PARENT)) {
        if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) return window;
        if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) break;
    }
    return nullptr;
}

std::vector<char> DropBlock(HWND target, POINT point, const std::vector<std::wstring>& names) {
    DROPFILES header{};
    header.pFiles = sizeof header;
    ScreenToClient(target, &point);
    header.pt = point;
    header.fWide = TRUE;
    std::wstring list;
    for (const std::wstring& name : names) list += name + L'\0';
    list += L'\0';
    std::vector<char> block(sizeof header + list.size() * sizeof(wchar_t));
    memcpy(block.data(), &header, sizeof header);
    memcpy(block.data() + sizeof header, list.data(), list.size() * sizeof(wchar_t));
    return block;
}

// drop <x> <y> <name as UTF-8 hex>...: the handle of the window that took the drop, or 0
// when no window at the point accepts files (as Explorer then refuses to drop).
TReply Drop(const TRequest& request) {
    POINT point = {static_cast<LONG>(request.Number(0)), static_cast<LONG>(request.Number(1))};
    std::vector<std::wstring> names;
    for (size_t i = 2; i < request.Count(); ++i) names.push_back(WideFrom(CP_UTF8, request.Text(i)));
    HWND target = DropTargetAt(point);
    if (!target) return TReply().Add(0);
    const std::vector<char> block = DropBlock(target, point, names);
    DWORD processId = 0;
    GetWindowThreadProcessId(target, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) throw DriverError("the dropping target's process cannot be opened");
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool written = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
    CloseHandle(process);
    if (!written || !PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0))
        throw DriverError("the drop could not be handed to the window");
    return TReply().Add(static_cast<long long>(reinterpret_cast<uintptr_t>(target)));
}

// drop_target <x> <y>: the window a drop at the point would go to, 0 for none; it sends no
// message, so it answers while the window is busy.
TReply DropTarget(const TRequest& request) {
    POINT point = {static_cast<LONG>(request.Number(0)), static_cast<LONG>(request.Number(1))};
    return TReply().Add(static_cast<long long>(reinterpret_cast<uintptr_t>(DropTargetAt(point))));
}

TExtraVerb dropVerb("drop", &Drop);
TExtraVerb dropTargetVerb("drop_target", &DropTarget);

}  // namespace
