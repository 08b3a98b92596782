#pragma once
// One section of a settings file as the system's profile functions hand it over whole: lines
// "key=value", each ending in a zero byte, the list ending in a second one.
#include <cstddef>
#include <map>
#include <string>

// Values by key in ASCII lower case (keys match without regard to case; the first line of a
// key wins). Each value is what reading that one key would give: a pair of matching quotes
// round it is dropped, and a line without "=" is no key at all.
using TProfileSection = std::map<std::string, std::string>;
TProfileSection ParseProfileSection(const char* lines, size_t length);

// ASCII lower case, as section and key names are compared.
std::string ProfileNameKey(const std::string& name);
