#include "FolderDialogSelect.h"

#include <commctrl.h>

#include <memory>

#include "DriverProtocol.h"

namespace {

const UINT kSetSelectionA = WM_USER + 102;  // BFFM_SETSELECTIONA

const UINT kTreeGetNextItem = 0x110A;  // TVM_GETNEXTITEM
const UINT kTreeGetItemA = 0x110C;     // TVM_GETITEMA
const UINT kTreeExpand = 0x1102;       // TVM_EXPAND
const UINT kTreeSelectItem = 0x110B;   // TVM_SELECTITEM
const WPARAM kExpand = 2;              // TVE_EXPAND
const WPARAM kTreeNext = 1;            // TVGN_NEXT
const WPARAM kTreeChild = 4;           // TVGN_CHILD
const WPARAM kTreeCaret = 9;           // TVGN_CARET
const UINT kItemText = 1;              // TVIF_TEXT

using THandle = std::unique_ptr<void, decltype(&CloseHandle)>;

THandle OpenWindowProcess(HWND window, DWORD access) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    THandle process(OpenProcess(access, FALSE, processId), &CloseHandle);
    if (!process) throw DriverError("cannot open the window's process");
    return process;
}

class TRemoteBuffer {
public:
    TRemoteBuffer(HANDLE process, size_t size) : process_(process) {
        address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        if (!address_) throw DriverError("VirtualAllocEx failed");
    }
    ~TRemoteBuffer() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
    void Write(const void* bytes, size_t size, size_t offset = 0) {
        if (!WriteProcessMemory(process_, Pointer(offset), bytes, size, nullptr))
            throw DriverError("WriteProcessMemory failed");
    }
    void Read(void* bytes, size_t size, size_t offset = 0) const {
        if (!ReadProcessMemory(process_, Pointer(offset), bytes, size, nullptr))
            throw DriverError("ReadProcessMemory failed");
    }
    char* Pointer(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }

private:
    HANDLE process_;
    void* address_ = nullptr;
};

const DWORD kMemoryAccess = PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ;

}  // namespace

LRESULT SelectFolderInBrowser(HWND browser, const std::string& path) {
    THandle process = OpenWindowProcess(browser, kMemoryAccess);
    TRemoteBuffer remotePath(process.get(), path.size() + 1);
    remotePath.Write(path.c_str(), path.size() + 1);
    return SendMessageA(browser, kSetSelectionA, TRUE, remotePath.Address());
}

std::string TreeItemText(HWND tree, LPARAM item) {
    THandle process = OpenWindowProcess(tree, kMemoryAccess);
    const size_t textSize = MAX_PATH;
    TRemoteBuffer remote(process.get(), sizeof(TVITEMA) + textSize);
    TVITEMA request = {};
    request.mask = kItemText;
    request.hItem = reinterpret_cast<HTREEITEM>(item);
    request.pszText = remote.Pointer(sizeof(TVITEMA));
    request.cchTextMax = textSize;
    remote.Write(&request, sizeof request);
    if (!SendMessageA(tree, kTreeGetItemA, 0, remote.Address())) return {};
    char text[MAX_PATH + 1] = {};
    remote.Read(text, textSize, sizeof(TVITEMA));
    return text;
}

std::string SelectedTreeItemText(HWND tree) {
    LPARAM item = SendMessageA(tree, kTreeGetNextItem, kTreeCaret, 0);
    return item ? TreeItemText(tree, item) : std::string();
}

bool SelectTreeChild(HWND tree, const std::string& text) {
    LPARAM parent = SendMessageA(tree, kTreeGetNextItem, kTreeCaret, 0);
    if (!parent) return false;
    SendMessageA(tree, kTreeExpand, kExpand, parent);
    for (LPARAM item = SendMessageA(tree, kTreeGetNextItem, kTreeChild, parent); item;
         item = SendMessageA(tree, kTreeGetNextItem, kTreeNext, item)) {
        if (lstrcmpiA(TreeItemText(tree, item).c_str(), text.c_str()) != 0) continue;
        SendMessageA(tree, kTreeSelectItem, kTreeCaret, item);
        return true;
    }
    return false;
}
