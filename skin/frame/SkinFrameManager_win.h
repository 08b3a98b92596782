#pragma once
// What a skinned window's frame asks of the skin manager: whether a drawn menu bar's menu is
// open, the multiple-document children's maximised mark, the icon of another skin's windows
// and the dressing of multiple-document children as they come and go. The manager registers
// its answers while it lives; without it no menu is open, nothing is maximised, nobody lends
// an icon and no child is dressed.
#include <windows.h>

class TSkinData;

class TFrameManagerLink {
public:
    virtual ~TFrameManagerLink() = default;
    virtual bool MenuOpen() const = 0;
    virtual bool ChildrenMaximized() const = 0;
    virtual void SetChildrenMaximized(bool maximized) = 0;
    // The last main-form skin data whose windows share an icon picture, or nullptr.
    virtual TSkinData* IconDonor() const = 0;
    virtual void SkinWindow(HWND window) = 0;
    virtual void UnskinWindow(HWND window) = 0;
};

namespace SkinFrameManager {

// The registered link (nullptr: none; the manager registers nullptr as it goes).
inline TFrameManagerLink*& Registered() {
    static TFrameManagerLink* link = nullptr;
    return link;
}
inline void Register(TFrameManagerLink* link) { Registered() = link; }

inline bool MenuOpen() { return Registered() && Registered()->MenuOpen(); }
inline bool ChildrenMaximized() { return Registered() && Registered()->ChildrenMaximized(); }
inline void SetChildrenMaximized(bool maximized) {
    if (Registered()) Registered()->SetChildrenMaximized(maximized);
}
inline TSkinData* IconDonor() { return Registered() ? Registered()->IconDonor() : nullptr; }
inline void SkinWindow(HWND window) {
    if (Registered()) Registered()->SkinWindow(window);
}
inline void UnskinWindow(HWND window) {
    if (Registered()) Registered()->UnskinWindow(window);
}

}  // namespace SkinFrameManager
