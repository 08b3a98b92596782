#include "toolkit/FolderBrowser_win.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "toolkit/Application_win.h"
#include "toolkit/LateBoundLibraries_win.h"
#include "toolkit/SystemFileName_win.h"
#include "toolkit/WideText_win.h"

namespace {

// The program's windows stay disabled while the browser is open, as for a modal window.
class TDisabledThreadWindows {
public:
    TDisabledThreadWindows() { EnumThreadWindows(GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this)); }
    ~TDisabledThreadWindows() {
        for (HWND window : windows_)
            if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    TDisabledThreadWindows(const TDisabledThreadWindows&) = delete;
    TDisabledThreadWindows& operator=(const TDisabledThreadWindows&) = delete;

private:
    static BOOL CALLBACK Disable(HWND window, LPARAM data) {
        if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
        EnableWindow(window, FALSE);
        reinterpret_cast<TDisabledThreadWindows*>(data)->windows_.push_back(window);
        return TRUE;
    }
    std::vector<HWND> windows_;
};

}  // namespace

bool SelectDirectory(const std::string& prompt, std::string& folder) {
    if (Application) Application->CancelHint();
    wchar_t displayName[MAX_PATH] = {};
    const Wide title(prompt);
    BROWSEINFOW browse = {};
    browse.hwndOwner = Application ? Application->Handle() : nullptr;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = nullptr;
    HWND active = GetActiveWindow();
    {
        TDisabledThreadWindows disabled;
        chosen = LateBound::BrowseForFolder(browse);
    }
    if (active && IsWindow(active)) SetActiveWindow(active);
    if (!chosen) return false;
    wchar_t path[MAX_PATH] = {};
    bool ok = LateBound::PathFromItemList(chosen, path) != FALSE && path[0] != L'\0';
    LateBound::FreeShellMemory(chosen);
    // A folder whose name the program cannot hold is refused before anything is written.
    std::string chosenFolder;
    ok = ok && TakeSystemFileName(path, chosenFolder);
    if (ok) folder = chosenFolder;
    return ok;
}
