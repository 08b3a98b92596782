#include "picture/graphic/FileFormatsList.h"

#include <algorithm>

std::string PictureFileExtension(const std::string& fileName) {
    std::string extension = ExtensionPart(fileName);
    return extension.empty() ? extension : extension.substr(1);
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
