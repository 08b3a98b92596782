// Texts beyond code page 936 (a Korean file name or folder, say), which the protocol's code
// page 936 tokens cannot carry: they cross as UTF-8 instead.
#include <windows.h>

#include "DriverCommands.h"
#include "WindowSearch.h"

namespace {

// set_text_utf8 <hwnd> <text as UTF-8 hex>: WM_SETTEXT through the wide API
TReply SetTextUtf8(const TRequest& request) {
    std::wstring text = WideFrom(CP_UTF8, request.Text(1));
    HWND window = WindowFromToken(request.Number(0));
    return TReply().Add(SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

// text_utf8 <hwnd>: the window's text through the wide API, as UTF-8 hex (a German or Korean
// Windows writes texts code page 936 cannot carry)
TReply TextUtf8(const TRequest& request) {
    HWND window = WindowFromToken(request.Number(0));
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], bytes, nullptr, nullptr);
    return TReply().AddText(utf8);
}

// set_environment <name> <value>, both as UTF-8 hex: a variable every program the driver starts
// afterwards inherits (a temporary folder whose name no ANSI code page holds, say)
TReply SetEnvironment(const TRequest& request) {
    const std::wstring name = WideFrom(CP_UTF8, request.Text(0)), value = WideFrom(CP_UTF8, request.Text(1));
    if (!SetEnvironmentVariableW(name.c_str(), value.c_str())) throw DriverError("the variable could not be set");
    return TReply();
}

TExtraVerb setTextUtf8Verb("set_text_utf8", &SetTextUtf8);
TExtraVerb setEnvironmentVerb("set_environment", &SetEnvironment);
TExtraVerb textUtf8Verb("text_utf8", &TextUtf8);

}  // namespace
