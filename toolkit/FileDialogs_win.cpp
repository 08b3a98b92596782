#include "toolkit/FileDialogs_win.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "toolkit/Application_win.h"
#include "toolkit/FileFilter.h"
#include "toolkit/Form_win.h"

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
    std::vector<char> name(kFileNameCapacity, '\0');
    fileName_.copy(name.data(), kFileNameCapacity - 1);
    std::string filter = FilterToSystemForm(filter_);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = DialogOwnerWindow();
    dialog.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(ClampFilterIndex(filterIndex_, filter_));
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = kFileNameCapacity;
    dialog.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    dialog.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
    dialog.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();
    dialog.Flags = SystemFlags(options_);
    bool confirmed = RunSystemDialog(&dialog);
    if (dialog.nFilterIndex > 0) filterIndex_ = static_cast<int>(dialog.nFilterIndex);
    if (confirmed) fileName_ = name.data();
    return confirmed;
}

bool TOpenDialog::RunSystemDialog(void* openFileName) {
    return GetOpenFileNameA(static_cast<OPENFILENAMEA*>(openFileName)) != FALSE;
}

bool TSaveDialog::RunSystemDialog(void* openFileName) {
    return GetSaveFileNameA(static_cast<OPENFILENAMEA*>(openFileName)) != FALSE;
}
