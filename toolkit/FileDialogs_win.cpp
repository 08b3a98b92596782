#include "toolkit/FileDialogs_win.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "base/FileFilter.h"
#include "toolkit/Application_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/LateBoundLibraries_win.h"
#include "toolkit/SystemFileName_win.h"
#include "toolkit/WideText_win.h"

namespace {

constexpr DWORD kFileNameCapacity = 4096;

DWORD SystemFlags(TOpenOptions options) {
    // The working folder is left alone: a dialog must not keep the user's folder in use.
    DWORD flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (options & ofReadOnly) flags |= OFN_READONLY;
    if (options & ofOverwritePrompt) flags |= OFN_OVERWRITEPROMPT;
    if (options & ofHideReadOnly) flags |= OFN_HIDEREADONLY;
    if (options & ofPathMustExist) flags |= OFN_PATHMUSTEXIST;
    if (options & ofFileMustExist) flags |= OFN_FILEMUSTEXIST;
    if (options & ofEnableSizing) flags |= OFN_ENABLESIZING;
    return flags;
}

}  // namespace

HWND DialogOwnerWindow() {
    HWND active = GetActiveWindow();
    if (active) return active;
    if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
        return Application->MainForm()->Handle();
    return Application ? Application->Handle() : nullptr;
}

bool TOpenDialog::Execute() {
    if (Application) Application->CancelHint();
    std::vector<wchar_t> name(kFileNameCapacity, L'\0');
    const std::wstring startName = WideFromAnsi(fileName_);
    startName.copy(name.data(), kFileNameCapacity - 1);
    const std::wstring filter = WideFromAnsi(FilterToSystemForm(filter_));
    const Wide title(title_), initialDir(initialDir_), defaultExt(defaultExt_);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = DialogOwnerWindow();
    dialog.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(ClampFilterIndex(filterIndex_, filter_));
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = kFileNameCapacity;
    dialog.lpstrTitle = title_.empty() ? nullptr : static_cast<const wchar_t*>(title);
    dialog.lpstrInitialDir = initialDir_.empty() ? nullptr : static_cast<const wchar_t*>(initialDir);
    dialog.lpstrDefExt = defaultExt_.empty() ? nullptr : static_cast<const wchar_t*>(defaultExt);
    dialog.Flags = SystemFlags(options_);
    bool confirmed = RunSystemDialog(&dialog);
    if (dialog.nFilterIndex > 0) filterIndex_ = static_cast<int>(dialog.nFilterIndex);
    // A name the program cannot hold is refused here, before anything is done with it.
    std::string chosen;
    confirmed = confirmed && TakeSystemFileName(name.data(), chosen);
    if (confirmed) fileName_ = chosen;
    return confirmed;
}

bool TOpenDialog::RunSystemDialog(void* openFileName) {
    return LateBound::OpenFileDialog(*static_cast<OPENFILENAMEW*>(openFileName)) != FALSE;
}

bool TSaveDialog::RunSystemDialog(void* openFileName) {
    return LateBound::SaveFileDialog(*static_cast<OPENFILENAMEW*>(openFileName)) != FALSE;
}
