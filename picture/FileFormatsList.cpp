#include "picture/FileFormatsList.h"

#include <algorithm>

std::string LowerCaseAscii(std::string text) {
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x81 && c <= 0xFE) {
            ++i;  // a double-byte character: its trail byte may look like a capital letter
        } else if (c >= 'A' && c <= 'Z') {
            text[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string PictureFileExtension(const std::string& fileName) {
    // Names are in code page 936, where the second byte of a double-byte character can be
    // 0x5C, the backslash: step over each such pair whole.
    size_t nameStart = 0, dot = std::string::npos;
    for (size_t i = 0; i < fileName.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(fileName[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < fileName.size()) {
            ++i;
        } else if (c == '\\' || c == '/' || c == ':') {
            nameStart = i + 1;
            dot = std::string::npos;
        } else if (c == '.') {
            dot = i;
        }
    }
    if (dot == std::string::npos || dot < nameStart) return std::string();
    return fileName.substr(dot + 1);
}

void TFileFormatsList::Add(const std::string& extension, const std::string& description, int descriptionResource,
                           TGraphicClass graphicClass) {
    entries_.push_back(TFileFormat{graphicClass, LowerCaseAscii(extension), description, descriptionResource});
}

TGraphicClass TFileFormatsList::FindExt(const std::string& extension) const {
    std::string wanted = LowerCaseAscii(extension);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->extension == wanted) return it->graphicClass;
    return nullptr;
}

TGraphicClass TFileFormatsList::FindClassName(const std::string& className) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->graphicClass && className == it->graphicClass->name) return it->graphicClass;
    return nullptr;
}

void TFileFormatsList::Remove(TGraphicClass graphicClass) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [graphicClass](const TFileFormat& entry) {
                                      return entry.graphicClass && entry.graphicClass->InheritsFrom(graphicClass);
                                  }),
                   entries_.end());
}
