#pragma once
// The shell's folder browser.
#include <string>

// Asks for a file-system folder under the desktop, with a prompt, while the program's other
// windows are disabled. True and the folder (no trailing backslash except for a drive root
// such as C:\) when the user chose one.
bool SelectDirectory(const std::string& prompt, std::string& folder);
