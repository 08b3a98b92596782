#include "toolkit/LateBoundLibraries_win.h"

#include "base/Exceptions.h"
#include "toolkit/WideText_win.h"

namespace {

constexpr char kShell[] = "shell32.dll";
constexpr char kDialogs[] = "comdlg32.dll";
constexpr char kOle[] = "ole32.dll";

// The function, its library loaded now if it is not yet (the library stays for the process).
template <typename Function>
Function Bind(const char* library, const char* name) {
    HMODULE module = LoadLibraryW(Wide(library));
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    if (!found) throw EOutOfResources(Format(ErrorText::SystemFunctionMissing, name, library));
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

void EnsureOle() {
    static const HRESULT started = Bind<HRESULT(WINAPI*)(LPVOID)>(kOle, "OleInitialize")(nullptr);
    (void)started;
}

}  // namespace

namespace LateBound {

// The library stays loaded for the process, as the late-bound functions leave it.
TOleLoadAhead::TOleLoadAhead() : loader_([] { LoadLibraryW(Wide(kOle)); }) {}

TOleLoadAhead::~TOleLoadAhead() {
    if (loader_.joinable()) loader_.join();
}

BOOL OpenFileDialog(OPENFILENAMEW& dialog) {
    EnsureOle();
    static const auto open = Bind<BOOL(WINAPI*)(OPENFILENAMEW*)>(kDialogs, "GetOpenFileNameW");
    return open(&dialog);
}

BOOL SaveFileDialog(OPENFILENAMEW& dialog) {
    EnsureOle();
    static const auto save = Bind<BOOL(WINAPI*)(OPENFILENAMEW*)>(kDialogs, "GetSaveFileNameW");
    return save(&dialog);
}

HICON ExtractIcon(const wchar_t* fileName, UINT index) {
    static const auto extract = Bind<HICON(WINAPI*)(HINSTANCE, LPCWSTR, UINT)>(kShell, "ExtractIconW");
    return extract(GetModuleHandleW(nullptr), fileName, index);
}

UINT DragQueryFile(HDROP drop, UINT index, wchar_t* name, UINT length) {
    static const auto query = Bind<UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT)>(kShell, "DragQueryFileW");
    return query(drop, index, name, length);
}

void DragFinish(HDROP drop) {
    static const auto finish = Bind<void(WINAPI*)(HDROP)>(kShell, "DragFinish");
    finish(drop);
}

LPITEMIDLIST BrowseForFolder(BROWSEINFOW& browse) {
    EnsureOle();
    static const auto browseFor = Bind<LPITEMIDLIST(WINAPI*)(LPBROWSEINFOW)>(kShell, "SHBrowseForFolderW");
    return browseFor(&browse);
}

BOOL PathFromItemList(LPCITEMIDLIST items, wchar_t* path) {
    static const auto pathOf = Bind<BOOL(WINAPI*)(LPCITEMIDLIST, LPWSTR)>(kShell, "SHGetPathFromIDListW");
    return pathOf(items, path);
}

void ShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                  const wchar_t* folder, int show) {
    EnsureOle();
    static const auto execute =
        Bind<HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT)>(kShell, "ShellExecuteW");
    execute(owner, verb, file, parameters, folder, show);
}

BOOL NotifyIcon(DWORD action, NOTIFYICONDATAW& data) {
    static const auto notify = Bind<BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW)>(kShell, "Shell_NotifyIconW");
    return notify(action, &data);
}

void FreeShellMemory(void* memory) {
    static const auto free = Bind<void(WINAPI*)(LPVOID)>(kOle, "CoTaskMemFree");
    free(memory);
}

DWORD MillisecondClock() {
    static const auto clock = Bind<DWORD(WINAPI*)()>("winmm.dll", "timeGetTime");
    return clock();
}

}  // namespace LateBound
