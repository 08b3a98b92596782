#pragma once
// The few file operations whose system calls differ between Windows and the native build.
#include <string>

// Moves `from` over `to`, replacing `to` if it exists; false with the system error kept.
bool ReplaceFileWith(const std::string& from, const std::string& to);
// The folder part of a path, with its trailing separator ("" for a bare name).
std::string FolderOf(const std::string& path);
// A process-unique number for naming temporary files.
unsigned long CurrentProcessNumber();
