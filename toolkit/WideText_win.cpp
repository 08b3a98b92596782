#include "toolkit/WideText_win.h"

#include <cstring>
#include <vector>

namespace {

constexpr UINT kProgramCodePage = 936;

}  // namespace

std::wstring WideFromAnsi(const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(kProgramCodePage, 0, text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(kProgramCodePage, 0, text.data(), size, &wide[0], length);
    return wide;
}

std::wstring WideFromAnsi(const char* text) { return text ? WideFromAnsi(std::string(text)) : std::wstring(); }

std::string AnsiFromWide(const wchar_t* text, size_t length) {
    if (!text || length == 0) return {};
    const int size = static_cast<int>(length);
    const int bytes = WideCharToMultiByte(kProgramCodePage, 0, text, size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(kProgramCodePage, 0, text, size, &ansi[0], bytes, nullptr, nullptr);
    return ansi;
}

std::string AnsiFromWide(const std::wstring& text) { return AnsiFromWide(text.data(), text.size()); }

std::string AnsiFromWide(const wchar_t* text) { return text ? AnsiFromWide(text, wcslen(text)) : std::string(); }

bool AnsiCanHold(const std::wstring& text) { return WideFromAnsi(AnsiFromWide(text)) == text; }

std::wstring WideWindowTextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    return std::wstring(text.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

std::string WindowTextOf(HWND window) { return AnsiFromWide(WideWindowTextOf(window)); }

void SetWindowTextOf(HWND window, const std::string& text) { SetWindowTextW(window, Wide(text)); }

std::string ClassNameOf(HWND window) {
    wchar_t name[256] = L"";
    const int length = GetClassNameW(window, name, 256);
    return AnsiFromWide(name, length > 0 ? static_cast<size_t>(length) : 0);
}

int DrawTextOf(HDC dc, const std::wstring& text, RECT* rect, UINT format) {
    return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), rect, format);
}

int DrawTextOf(HDC dc, const std::string& text, RECT* rect, UINT format) {
    return DrawTextOf(dc, WideFromAnsi(text), rect, format);
}

SIZE TextExtentOf(HDC dc, const std::wstring& text) {
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

SIZE TextExtentOf(HDC dc, const std::string& text) { return TextExtentOf(dc, WideFromAnsi(text)); }
