#include "skin/stored/ProfileSection.h"

#include <cstring>

namespace {

std::string WithoutQuotes(const std::string& value) {
    size_t size = value.size();
    if (size >= 2 && (value[0] == '"' || value[0] == '\'') && value[size - 1] == value[0])
        return value.substr(1, size - 2);
    return value;
}

}  // namespace

std::string ProfileNameKey(const std::string& name) {
    std::string key = name;
    for (char& ch : key)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return key;
}

TProfileSection ParseProfileSection(const char* lines, size_t length) {
    TProfileSection section;
    size_t at = 0;
    while (at < length && lines[at] != '\0') {
        const char* line = lines + at;
        size_t size = strnlen(line, length - at);
        at += size + 1;
        std::string text(line, size);
        size_t equals = text.find('=');
        if (equals == std::string::npos) continue;  // read alone, such a key is not there
        section.emplace(ProfileNameKey(text.substr(0, equals)), WithoutQuotes(text.substr(equals + 1)));
    }
    return section;
}
