// Texts beyond code page 936 (a Korean file name, say), which the protocol's code page 936
// tokens cannot carry: they cross as UTF-8 instead.
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

TExtraVerb setTextUtf8Verb("set_text_utf8", &SetTextUtf8);

}  // namespace
