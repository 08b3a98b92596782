#pragma once
// The one crossing between the program's texts and Windows. Every text inside the program is
// a code page 936 string; Windows is spoken to through its wide (UTF-16) functions, and the
// conversion names code page 936 itself, so a Windows whose system code page is another one
// (1252 on an English Windows) still shows and returns the Chinese texts whole.
#include <windows.h>

#include <string>

std::wstring WideFromAnsi(const std::string& text);
std::wstring WideFromAnsi(const char* text);
// Characters that code page 936 cannot hold become "?"; see AnsiCanHold.
std::string AnsiFromWide(const std::wstring& text);
std::string AnsiFromWide(const wchar_t* text);
std::string AnsiFromWide(const wchar_t* text, size_t length);
// True when the text comes back the same from code page 936: a file name that fails this
// cannot be handed on inside the program without naming another file.
bool AnsiCanHold(const std::wstring& text);

// The text of a window (a window, a control), read and set through the wide API.
std::string WindowTextOf(HWND window);
// The text as the system holds it: a window the system or another program wrote to may hold
// characters that code page 936 cannot ("Öffnen" on a German Windows).
std::wstring WideWindowTextOf(HWND window);
void SetWindowTextOf(HWND window, const std::string& text);
// The name of a window's class.
std::string ClassNameOf(HWND window);

// Text on a device context, in the program's code page or as the system gave it: DrawTextW
// and the text's extent.
int DrawTextOf(HDC dc, const std::string& text, RECT* rect, UINT format);
int DrawTextOf(HDC dc, const std::wstring& text, RECT* rect, UINT format);
SIZE TextExtentOf(HDC dc, const std::string& text);
SIZE TextExtentOf(HDC dc, const std::wstring& text);

// A wide copy that lives as long as the statement: `MessageBoxW(w, Wide(text), ...)`;
// a null pointer stays null.
class Wide {
public:
    explicit Wide(const std::string& text) : text_(WideFromAnsi(text)) {}
    explicit Wide(const char* text) : null_(text == nullptr), text_(text ? WideFromAnsi(text) : std::wstring()) {}
    operator const wchar_t*() const { return null_ ? nullptr : text_.c_str(); }
    const std::wstring& str() const { return text_; }

private:
    bool null_ = false;
    std::wstring text_;
};
