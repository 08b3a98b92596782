#pragma once
// A settings file read through the system's wide profile-file functions (sections and keys match
// without regard to case). Its name is the system's own, whatever characters it holds.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "skin/stored/ProfileSection.h"

class TProfileFile {
public:
    explicit TProfileFile(std::wstring fileName) : fileName_(std::move(fileName)) {}

    // Section names in the order the file lists them.
    std::vector<std::string> SectionNames() const;
    // The value's text, or fallback when the key is absent.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback = "") const;
    // The value as an integer; fallback when absent or not an integer.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const;

private:
    // A section read whole on first use: the system looks the file up again on every call,
    // which made reading a skin's few hundred values one key at a time most of its decoding.
    const TProfileSection& Section(const std::string& name) const;

    std::wstring fileName_;
    mutable std::map<std::string, TProfileSection> sections_;  // by ProfileNameKey
};
