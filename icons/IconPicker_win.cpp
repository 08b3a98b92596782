#include "icons/IconPicker_win.h"

#include <shellapi.h>

#include <vector>

#include "toolkit/LateBoundLibraries_win.h"
#include "toolkit/WideText_win.h"

namespace {

// The shell's icon picker, exported by ordinal only. Its path is a wide string on the NT line.
using TPickIconDlg = int(WINAPI*)(HWND owner, LPWSTR path, UINT pathLength, int* index);

// The shell's answer: 1 confirmed, 0 cancelled, anything else means it showed no dialog.
int RunShellPicker(HWND owner, const std::string& path, int& index) {
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    if (!shell) shell = LoadLibraryW(L"shell32.dll");
    auto pick = shell ? reinterpret_cast<TPickIconDlg>(GetProcAddress(shell, MAKEINTRESOURCEA(62))) : nullptr;
    if (!pick) return -1;
    std::wstring wide = WideFromAnsi(path);
    wide.resize(MAX_PATH > wide.size() + 1 ? MAX_PATH : wide.size() + 1, L'\0');
    return pick(owner, &wide[0], 0, &index);
}

constexpr int kListId = 100;
constexpr int kCell = 44;

struct TPickerState {
    std::string path;
    int index = 0;
    std::vector<HICON> icons;
};

// Dialog templates hold words, wide texts and dword-aligned items.
class TTemplateWriter {
public:
    void Word(WORD value) { words_.push_back(value); }
    void DWord(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const std::string& text) {
        for (wchar_t ch : WideFromAnsi(text)) Word(ch);
        Word(0);
    }
    void Align() {
        if (words_.size() % 2) Word(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const std::string& text) {
        Align();
        DWord(style | WS_CHILD | WS_VISIBLE);
        DWord(0);
        Word(x);
        Word(y);
        Word(cx);
        Word(cy);
        Word(id);
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);
    }
    DLGTEMPLATE* Data() { return reinterpret_cast<DLGTEMPLATE*>(words_.data()); }

private:
    std::vector<WORD> words_;
};

void BuildTemplate(TTemplateWriter& writer) {
    writer.DWord(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    writer.DWord(0);
    writer.Word(4);  // items
    writer.Word(0);
    writer.Word(0);
    writer.Word(236);
    writer.Word(126);
    writer.Word(0);  // no menu
    writer.Word(0);  // the standard dialog class
    writer.Text("更改图标");
    writer.Word(9);
    writer.Text("宋体");
    writer.Item(SS_LEFT, 7, 7, 222, 10, 0xFFFF, 0x0082, "从以下列表中选择一个图标:");
    writer.Item(WS_BORDER | WS_TABSTOP | WS_HSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_MULTICOLUMN |
                    LBS_NOINTEGRALHEIGHT,
                7, 20, 222, 78, kListId, 0x0083, "");
    writer.Item(WS_TABSTOP | BS_DEFPUSHBUTTON, 118, 104, 54, 15, IDOK, 0x0080, "确定");
    writer.Item(WS_TABSTOP | BS_PUSHBUTTON, 176, 104, 54, 15, IDCANCEL, 0x0080, "取消");
}

void FillList(HWND dialog, TPickerState& state) {
    HWND list = GetDlgItem(dialog, kListId);
    UINT count = static_cast<UINT>(
        reinterpret_cast<UINT_PTR>(LateBound::ExtractIcon(Wide(state.path), static_cast<UINT>(-1))));
    for (UINT i = 0; i < count; ++i) {
        state.icons.push_back(LateBound::ExtractIcon(Wide(state.path), i));
        SendMessageW(list, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
    }
    SendMessageW(list, LB_SETCOLUMNWIDTH, kCell, 0);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, kCell);
    if (state.index >= 0 && state.index < static_cast<int>(count)) SendMessageW(list, LB_SETCURSEL, state.index, 0);
    else if (count > 0) SendMessageW(list, LB_SETCURSEL, 0, 0);
}

void DrawCell(const DRAWITEMSTRUCT& item, const TPickerState& state) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID < state.icons.size() && state.icons[item.itemID]) {
        int x = item.rcItem.left + (kCell - GetSystemMetrics(SM_CXICON)) / 2;
        int y = item.rcItem.top + (kCell - GetSystemMetrics(SM_CYICON)) / 2;
        DrawIconEx(item.hDC, x, y, state.icons[item.itemID], 0, 0, 0, nullptr, DI_NORMAL);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

INT_PTR CALLBACK PickerProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<TPickerState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        FillList(dialog, *reinterpret_cast<TPickerState*>(lParam));
        return TRUE;
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kCell;
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemWidth = kCell;
        return TRUE;
    case WM_DRAWITEM:
        if (state) DrawCell(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam), *state);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == kListId && HIWORD(wParam) == LBN_DBLCLK) {
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        } else if (LOWORD(wParam) == IDOK) {
            LRESULT chosen = SendDlgItemMessageW(dialog, kListId, LB_GETCURSEL, 0, 0);
            if (chosen != LB_ERR && state) state->index = static_cast<int>(chosen);
            EndDialog(dialog, 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

bool ShowOwnIconPicker(HWND owner, const std::string& path, int& index) {
    TPickerState state;
    state.path = path;
    state.index = index;
    TTemplateWriter writer;
    BuildTemplate(writer);
    INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Data(), owner, PickerProc,
                                             reinterpret_cast<LPARAM>(&state));
    for (HICON icon : state.icons)
        if (icon) DestroyIcon(icon);
    if (result != 1) return false;
    index = state.index;
    return true;
}

bool PickIcon(HWND owner, const std::string& path, int& index) {
    int answer = RunShellPicker(owner, path, index);
    if (answer == 0) return false;
    if (answer == 1) return true;
    return ShowOwnIconPicker(owner, path, index);
}
