#pragma once
// What the drawn menus tell the skin manager: a menu-bar menu is open (the frames' mouse-leave
// timers rest meanwhile), and whether a frame shows a maximised child's buttons in its bar.
namespace SkinMenuManager {

void SetMenuOpen(bool open);
bool MenuOpen();
void SetChildrenMaximized(bool maximized);

}  // namespace SkinMenuManager
