#include "base/AnsiFileName.h"

#include <utility>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

// Where the last component starts.
size_t FileNameStart(const std::string& path) {
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsCp936LeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            ++i;
        } else if (IsSeparator(path[i])) {
            start = i + 1;
        }
    }
    return start;
}

template <typename Convert>
std::string MapAsciiLetters(std::string text, Convert convert) {
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsCp936LeadByte(c)) {
            ++i;
        } else {
            text[i] = static_cast<char>(convert(c));
        }
    }
    return text;
}

}  // namespace

bool IsCp936LeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

std::string FolderPart(const std::string& path) { return path.substr(0, FileNameStart(path)); }

std::string FileNamePart(const std::string& path) { return path.substr(FileNameStart(path)); }

std::string ExtensionPart(const std::string& path) {
    const size_t start = FileNameStart(path);
    size_t dot = std::string::npos;
    for (size_t i = start; i < path.size(); ++i) {
        if (IsCp936LeadByte(static_cast<unsigned char>(path[i]))) {
            ++i;
        } else if (path[i] == '.') {
            dot = i;
        }
    }
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string UpperCaseAscii(std::string text) {
    return MapAsciiLetters(std::move(text), [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; });
}

std::string LowerCaseAscii(std::string text) {
    return MapAsciiLetters(std::move(text), [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
}
