#include "WindowSearch.h"

#include "DriverProtocol.h"

namespace {

struct TTopLevelQuery {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<TTopLevelQuery*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (query->processId == 0 || owner == query->processId) query->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? length : 0);
}

void AddNumbers(std::string& token, std::initializer_list<long long> numbers) {
    for (long long n : numbers) {
        if (!token.empty()) token += ',';
        token += std::to_string(n);
    }
}

long long Handle(HWND window) { return static_cast<long long>(reinterpret_cast<uintptr_t>(window)); }

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId) {
    TTopLevelQuery query{processId, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::vector<HWND> DescendantWindows(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring WideFrom(UINT codePage, const std::string& text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string Cp936From(const std::wstring& text) {
    if (text.empty()) return {};
    int length = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), &bytes[0], length, nullptr, nullptr);
    return bytes;
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 3000, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, 3000, &copied))
        return {};
    text.resize(copied < text.size() ? copied : text.size() - 1);
    return Cp936From(text);
}

std::string DescribeWindow(HWND window) {
    DWORD processId = 0;
    DWORD threadId = GetWindowThreadProcessId(window, &processId);
    RECT frame = {}, client = {};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::string token;
    AddNumbers(token, {Handle(window), Handle(GetParent(window)), Handle(GetWindow(window, GW_OWNER)),
                       processId, threadId, GetWindowLongA(window, GWL_ID),
                       static_cast<long long>(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE))),
                       static_cast<long long>(static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE))),
                       IsWindowVisible(window) ? 1 : 0, IsWindowEnabled(window) ? 1 : 0, frame.left, frame.top,
                       frame.right, frame.bottom, origin.x, origin.y, client.right, client.bottom});
    token += ',' + HexEncode(ClassName(window)) + ',' + HexEncode(WindowText(window));
    return token;
}

HWND WindowFromToken(long long token) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(token));
    if (!IsWindow(window)) throw DriverError("no such window: " + std::to_string(token));
    return window;
}
