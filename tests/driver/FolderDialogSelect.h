// Chooses a folder in another process's folder browser and reads back what its tree shows:
// the path and the item buffer have to live in that process's memory.
#pragma once
#include <windows.h>

#include <string>

LRESULT SelectFolderInBrowser(HWND browser, const std::string& path);
// The text of a tree view's selected item (read through the tree's own process), or "".
std::string SelectedTreeItemText(HWND tree);
// Expands a tree view's selected item and selects its child of that text (any case), as a
// user's click would; false when there is none.
bool SelectTreeChild(HWND tree, const std::string& text);
