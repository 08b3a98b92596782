#pragma once
// The notification-area record in its first, 88-byte layout: the only one every version of
// the shell accepts, and the one the program fills before each call.
#include <cstddef>
#include <cstdint>
#include <cstring>

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
    char szTip[64];
};
#pragma pack(pop)

// The tip is code page 936 text, cut to leave room for the terminating zero.
template <typename WindowHandle, typename IconHandle>
TTrayIconData MakeTrayIconData(WindowHandle window, IconHandle icon, const char* tip) {
    TTrayIconData data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = 88;
    data.hWnd = reinterpret_cast<void*>(window);
    data.uID = 0;
    data.uFlags = kTrayFlags;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = reinterpret_cast<void*>(icon);
    std::strncpy(data.szTip, tip, sizeof data.szTip - 1);
    return data;
}
