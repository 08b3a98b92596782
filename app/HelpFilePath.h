#pragma once
// The help file lies beside the program: the program's path cut after its last separator,
// then "readme.txt". A path the 200-byte module-name buffer cut short gives a name that
// does not exist, and the shell says so.
#include <string>

// The folder part of a code page 936 path, with its trailing separator. The second byte of a
// double-byte character may be 0x5C, which is not a separator, so the scan steps over whole
// characters.
inline std::string FolderOfAnsiPath(const std::string& path) {
    size_t cut = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < path.size()) {
            ++i;
        } else if (c == '\\' || c == ':') {
            cut = i + 1;
        }
    }
    return path.substr(0, cut);
}

inline std::string HelpFilePath(const std::string& programPath) {
    return FolderOfAnsiPath(programPath) + "readme.txt";
}
