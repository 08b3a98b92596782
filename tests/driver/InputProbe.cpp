// A small window that reports every input and dialog answer it receives in its status label
// (control id 110), so the end-to-end harness can prove that its clicks, keys, menu
// shortcuts and dialog answers reach a program as a user's would.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

namespace {

enum : int {
    kEdit = 101, kOpen = 102, kSave = 103, kFolder = 104, kMessage = 105, kCheck = 106, kSpawn = 107,
    kStatus = 110, kMenuGo = 201, kKeyF1 = 202, kKeyEscape = 203
};
const UINT kTrayMessage = 1026;

HWND g_status = nullptr;

void Report(const std::string& text) { SetWindowTextA(g_status, text.c_str()); }

void ReportPoint(const char* what, LPARAM lParam) {
    char text[64];
    std::snprintf(text, sizeof text, "%s %d %d", what, static_cast<short>(LOWORD(lParam)),
                  static_cast<short>(HIWORD(lParam)));
    Report(text);
}

HWND AddControl(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y, int w) {
    return CreateWindowExA(cls[0] == 'E' ? WS_EX_CLIENTEDGE : 0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w,
                           24, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

void AskFileName(HWND owner, bool save) {
    char name[MAX_PATH] = "";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "图片 (*.bmp)\0*.bmp\0所有文件\0*.*\0";
    dialog.lpstrFile = name;
    dialog.nMaxFile = sizeof name;
    dialog.Flags = OFN_HIDEREADONLY | (save ? 0 : OFN_FILEMUSTEXIST);
    BOOL ok = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    Report(std::string(save ? "save:" : "open:") + (ok ? name : "cancel"));
}

void AskFolder(HWND owner) {
    char path[MAX_PATH] = "";
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.lpszTitle = "选择文件夹";
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (item) {
        SHGetPathFromIDListA(item, path);
        CoTaskMemFree(item);
    }
    Report(std::string("folder:") + (item ? path : "cancel"));
}

// Starts another probe, as a program may start a viewer of its own that a test must end.
void SpawnAnother() {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(self, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        Report("spawn:" + std::to_string(process.dwProcessId));
    }
}

void OnCommand(HWND window, int id) {
    char text[64];
    switch (id) {
    case kOpen: AskFileName(window, false); break;
    case kSave: AskFileName(window, true); break;
    case kFolder: AskFolder(window); break;
    case kMessage:
        std::snprintf(text, sizeof text, "message:%d",
                      MessageBoxA(window, "确定要继续吗？", "输入探针", MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2));
        Report(text);
        break;
    case kSpawn: SpawnAnother(); break;
    case kMenuGo: Report("menu:go"); break;
    case kKeyF1: Report("key:F1"); break;
    case kKeyEscape: Report("key:Escape"); break;
    }
}

void CreateControls(HWND window) {
    AddControl(window, "Edit", "", ES_AUTOHSCROLL | WS_TABSTOP, kEdit, 10, 10, 200);
    AddControl(window, "Button", "打开(&O)", BS_PUSHBUTTON, kOpen, 10, 45, 90);
    AddControl(window, "Button", "保存(&S)", BS_PUSHBUTTON, kSave, 110, 45, 90);
    AddControl(window, "Button", "文件夹(&D)", BS_PUSHBUTTON, kFolder, 210, 45, 90);
    AddControl(window, "Button", "消息(&M)", BS_PUSHBUTTON, kMessage, 310, 45, 90);
    AddControl(window, "Button", "选项", BS_AUTOCHECKBOX, kCheck, 10, 80, 90);
    AddControl(window, "Button", "新窗口", BS_PUSHBUTTON, kSpawn, 110, 80, 90);
    g_status = AddControl(window, "Static", "ready", SS_LEFT, kStatus, 10, 115, 380);
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: CreateControls(window); return 0;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam)); return 0;
    case WM_LBUTTONDOWN: ReportPoint("click", lParam); return 0;
    case WM_RBUTTONUP: ReportPoint("rclick", lParam); return 0;
    case WM_LBUTTONDBLCLK: ReportPoint("dblclick", lParam); return 0;
    case kTrayMessage: Report("tray:" + std::to_string(lParam)); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HMENU BuildMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, kMenuGo, "前往(&G)\tCtrl+G");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "文件(&F)");
    return bar;
}

HACCEL BuildAccelerators() {
    ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'G', kMenuGo}, {FVIRTKEY, VK_F1, kKeyF1}, {FVIRTKEY, VK_ESCAPE, kKeyEscape}};
    return CreateAcceleratorTableA(keys, 3);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    CoInitialize(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = ProbeProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "TervaneInputProbe";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "输入探针", WS_OVERLAPPEDWINDOW, 100, 100, 430, 230,
                                  nullptr, BuildMenu(), instance, nullptr);
    ShowWindow(window, showCommand);
    HACCEL accelerators = BuildAccelerators();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(window, accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
