#pragma once
// Objects of this process attached to windows, found again without asking the system. The
// window property is kept for whoever else looks for it, but a window procedure that needs its
// object for every message reads the table here: each GetProp is a round trip to the window
// server under Wine, about forty microseconds, and a menu or a dressed window sees thousands.
#include <windows.h>

#include <mutex>
#include <unordered_map>

template <typename T>
class TWindowObjects {
public:
    explicit TWindowObjects(const wchar_t* property) : property_(property) {}
    TWindowObjects(const TWindowObjects&) = delete;
    TWindowObjects& operator=(const TWindowObjects&) = delete;

    void Attach(HWND window, T* object) {
        SetPropW(window, property_, object);
        std::lock_guard<std::mutex> lock(mutex_);
        objects_[window] = object;
    }

    // Also for a window already destroyed: its handle may be given to a new window.
    void Detach(HWND window) {
        if (IsWindow(window)) RemovePropW(window, property_);
        std::lock_guard<std::mutex> lock(mutex_);
        objects_.erase(window);
    }

    T* Find(HWND window) const {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = objects_.find(window);
        return found == objects_.end() ? nullptr : found->second;
    }

private:
    const wchar_t* property_;
    mutable std::mutex mutex_;
    std::unordered_map<HWND, T*> objects_;
};
