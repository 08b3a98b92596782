#pragma once
// What the drawn menus tell the skin manager: a menu-bar menu is open (the frames' mouse-leave
// timers rest meanwhile), and whether a frame shows a maximised child's buttons in its bar.
// The manager registers its answers while it lives; without it nothing is told.
class TMenuManagerLink {
public:
    virtual ~TMenuManagerLink() = default;
    virtual void SetMenuOpen(bool open) = 0;
    virtual bool MenuOpen() const = 0;
    virtual void SetChildrenMaximized(bool maximized) = 0;
};

namespace SkinMenuManager {

inline TMenuManagerLink*& Registered() {
    static TMenuManagerLink* link = nullptr;
    return link;
}
inline void Register(TMenuManagerLink* link) { Registered() = link; }

inline void SetMenuOpen(bool open) {
    if (Registered()) Registered()->SetMenuOpen(open);
}
inline bool MenuOpen() { return Registered() && Registered()->MenuOpen(); }
inline void SetChildrenMaximized(bool maximized) {
    if (Registered()) Registered()->SetChildrenMaximized(maximized);
}

}  // namespace SkinMenuManager
