#pragma once
// The parts of a file name in code page 936, the program's ANSI code page. The second byte of
// a double-byte character may be 0x5C, the backslash, or an ASCII letter; every scan here
// steps over whole characters so that such a byte is never taken for a separator or a letter.
// "\", "/" and ":" separate components; a lead byte at the very end stands alone.
#include <cstddef>
#include <string>

bool IsCp936LeadByte(unsigned char byte);

// The folder with its trailing separator: "C:\a\b.ico" gives "C:\a\", "D:x" gives "D:".
std::string FolderPart(const std::string& path);
// The last component: "C:\a\b.ico" gives "b.ico".
std::string FileNamePart(const std::string& path);
// The last component from its last dot on, letter case kept: "C:\a.b\x.Ico" gives ".Ico",
// "name." gives "."; empty without a dot.
std::string ExtensionPart(const std::string& path);

// ASCII letters in upper or lower case; double-byte characters are left as they are.
std::string UpperCaseAscii(std::string text);
std::string LowerCaseAscii(std::string text);
