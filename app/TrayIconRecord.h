#pragma once
// The notification-area record in its first layout, wide: 152 bytes, the one every version of
// the shell accepts, and the one the program fills before each call. The tip is UTF-16, so
// the shell shows it whole whatever the system's code page.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

constexpr unsigned kTrayCallbackMessage = 0x0400 + 2;  // WM_USER + 2 = 1026
constexpr uint32_t kTrayFlags = 1 | 2 | 4;           // message, icon and tip fields are valid

#pragma pack(push, 4)
struct TTrayIconData {
    uint32_t cbSize;
    void* hWnd;
    uint32_t uID;
    uint32_t uFlags;
    uint32_t uCallbackMessage;
    void* hIcon;
    char16_t szTip[64];
};
#pragma pack(pop)

constexpr uint32_t kTrayIconDataSize = 152;

// The tip is cut to leave room for the terminating zero.
template <typename WindowHandle, typename IconHandle>
TTrayIconData MakeTrayIconData(WindowHandle window, IconHandle icon, const std::u16string& tip) {
    TTrayIconData data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = kTrayIconDataSize;
    data.hWnd = reinterpret_cast<void*>(window);
    data.uID = 0;
    data.uFlags = kTrayFlags;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = reinterpret_cast<void*>(icon);
    tip.copy(data.szTip, sizeof data.szTip / sizeof data.szTip[0] - 1);
    return data;
}
