#pragma once
// System libraries the program needs only now and then (the shell, the common dialogs, OLE, the
// multimedia timer) are loaded at their first use instead of with the program: loading them
// took a good part of every start under Wine, before the first window (the shell's library
// alone about 12 ms, with the OLE it brings along when the first window is shown).
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <thread>

namespace LateBound {

// Loads OLE's library on a thread of its own and waits for it on destruction. Under Wine the
// input method starts OLE when the program's first window is activated, on the way to its first
// picture; loaded on the second core meanwhile, the library is there by then.
class TOleLoadAhead {
public:
    TOleLoadAhead();
    ~TOleLoadAhead();
    TOleLoadAhead(const TOleLoadAhead&) = delete;
    TOleLoadAhead& operator=(const TOleLoadAhead&) = delete;

private:
    std::thread loader_;
};

// The dialogs, the folder browser and shell actions start OLE first, once, on the user-interface
// thread (the only one that calls them): they want it.
// The common dialogs.
BOOL OpenFileDialog(OPENFILENAMEW& dialog);
BOOL SaveFileDialog(OPENFILENAMEW& dialog);

// The shell.
HICON ExtractIcon(const wchar_t* fileName, UINT index);
UINT DragQueryFile(HDROP drop, UINT index, wchar_t* name, UINT length);
void DragFinish(HDROP drop);
LPITEMIDLIST BrowseForFolder(BROWSEINFOW& browse);
BOOL PathFromItemList(LPCITEMIDLIST items, wchar_t* path);
void ShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                  const wchar_t* folder, int show);
BOOL NotifyIcon(DWORD action, NOTIFYICONDATAW& data);
// Frees memory the shell gave (an item list of the folder browser).
void FreeShellMemory(void* memory);

// Milliseconds since the system started, to the millisecond (the multimedia timer's clock).
DWORD MillisecondClock();

}  // namespace LateBound
