#pragma once
// Choosing one icon of a file: the shell's icon-picker dialog, and the program's own in its
// place where the shell has none (its entry answers neither OK nor Cancel).
#include <windows.h>

#include <string>

// Shows the shell's dialog for the file starting at `index`; true and the chosen 0-based
// index when the user confirmed.
bool PickIcon(HWND owner, const std::string& path, int& index);

// The program's own icon picker: the file's icons in a list, starting at `index`. True with
// the chosen index on OK, false on Cancel or Escape.
bool ShowOwnIconPicker(HWND owner, const std::string& path, int& index);
