#pragma once
// The help file lies beside the program: the program's path cut after its last separator,
// then "readme.txt". A path the 200-character module-name buffer cut short gives a name that
// does not exist, and the shell says so.
#include <string>

#include "base/AnsiFileName.h"

inline std::string HelpFilePath(const std::string& programPath) {
    return FolderPart(programPath) + "readme.txt";
}
