#include "toolkit/SystemFileName_win.h"

#include "toolkit/Application_win.h"
#include "toolkit/WideText_win.h"

namespace {

constexpr const char* kNameBefore = "文件名中有简体中文代码页(936)不能表示的字符,本程序不能打开或保存这个文件:\n\n";
constexpr const char* kNameAfter = "\n\n请给文件改名(只用中文、英文字母和数字),或选择另一个文件.";

}  // namespace

bool TakeSystemFileName(const std::wstring& systemName, std::string& name) {
    if (AnsiCanHold(systemName)) {
        name = AnsiFromWide(systemName);
        return true;
    }
    const std::wstring text = WideFromAnsi(kNameBefore) + systemName + WideFromAnsi(kNameAfter);
    if (Application) Application->MessageBox(text, Application->Title(), MB_OK | MB_ICONWARNING);
    return false;
}
