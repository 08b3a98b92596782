// Placeholder: popup menus keep the system's look until the skinned menus are built.
#include "skin/SkinPopupMenu_win.h"

TSkinPopupMenu::TSkinPopupMenu(HWND window, TSkinData& skinData) : handle_(window), skinData_(skinData) {}
TSkinPopupMenu::~TSkinPopupMenu() = default;
