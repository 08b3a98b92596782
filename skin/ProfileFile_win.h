#pragma once
// A settings file read through the system's profile-file functions (sections and keys match
// without regard to case).
#include <cstdint>
#include <string>
#include <vector>

class TProfileFile {
public:
    explicit TProfileFile(std::string fileName) : fileName_(std::move(fileName)) {}

    // Section names in the order the file lists them.
    std::vector<std::string> SectionNames() const;
    // The value's text, or fallback when the key is absent.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback = "") const;
    // The value as an integer; fallback when absent or not an integer.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const;

private:
    std::string fileName_;
};
