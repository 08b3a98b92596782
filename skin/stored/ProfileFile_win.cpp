#include "skin/stored/ProfileFile_win.h"

#include <windows.h>

#include "skin/stored/SkinSettingValue.h"
#include "toolkit/WideText_win.h"

namespace {

// Settings values and section lists longer than this are not part of any skin.
constexpr DWORD MaxProfileText = 1 << 20;

}  // namespace

std::vector<std::string> TProfileFile::SectionNames() const {
    std::vector<wchar_t> buffer(4096);
    DWORD length = 0;
    for (;;) {
        length = GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()), fileName_.c_str());
        if (length + 2 < buffer.size() || buffer.size() >= MaxProfileText) break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::string> names;
    for (size_t at = 0; at < length && buffer[at] != 0;) {
        std::wstring name(buffer.data() + at);
        at += name.size() + 1;
        names.push_back(AnsiFromWide(name));
    }
    return names;
}

const TProfileSection& TProfileFile::Section(const std::string& name) const {
    std::string key = ProfileNameKey(name);
    auto found = sections_.find(key);
    if (found != sections_.end()) return found->second;
    std::vector<wchar_t> buffer(8192);
    DWORD length = 0;
    const Wide section(name);
    for (;;) {
        length = GetPrivateProfileSectionW(section, buffer.data(), static_cast<DWORD>(buffer.size()), fileName_.c_str());
        if (length + 2 < buffer.size() || buffer.size() >= MaxProfileText) break;
        buffer.resize(buffer.size() * 2);
    }
    const std::string text = AnsiFromWide(buffer.data(), length);
    return sections_[key] = ParseProfileSection(text.data(), text.size());
}

std::string TProfileFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& fallback) const {
    const TProfileSection& values = Section(section);
    auto found = values.find(ProfileNameKey(key));
    return found == values.end() ? fallback : found->second;
}

int32_t TProfileFile::ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const {
    std::string text = ReadString(section, key);
    return text.empty() ? fallback : SkinIntDef(text, fallback);
}
