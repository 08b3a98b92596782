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

// set_environment <name> <value>, both as UTF-8 hex: a variable every program the driver starts
// afterwards inherits (a temporary folder whose name no ANSI code page holds, say)
TReply SetEnvironment(const TRequest& request) {
    const std::wstring name = WideFrom(CP_UTF8, request.Text(0)), value = WideFrom(CP_UTF8, request.Text(1));
    if (!SetEnvironmentVariableW(name.c_str(), value.c_str())) throw DriverError("the variable could not be set");
    return TReply();
}

TExtraVerb setTextUtf8Verb("set_text_utf8", &SetTextUtf8);
TExtraVerb setEnvironmentVerb("set_environment", &SetEnvironment);

}  // namespace
