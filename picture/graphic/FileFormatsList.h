#pragma once
// The registry of picture formats by file extension: which graphic class reads a file of
// a given extension. Lookups search from the last entry back, so a later registration of an
// extension wins.
#include <string>
#include <vector>

#include "base/AnsiFileName.h"
#include "picture/graphic/GraphicClass.h"

struct TFileFormat {
    TGraphicClass graphicClass = nullptr;
    std::string extension;    // lower case, without the dot
    std::string description;
    int descriptionResource = 0;
};

class TFileFormatsList {
public:
    TFileFormatsList() = default;

    // Appends an entry; the extension is stored in lower case.
    void Add(const std::string& extension, const std::string& description, int descriptionResource,
             TGraphicClass graphicClass);
    // The class for an extension (without the dot, any letter case), or nullptr.
    TGraphicClass FindExt(const std::string& extension) const;
    // The class of that name among the entries, or nullptr.
    TGraphicClass FindClassName(const std::string& className) const;
    // Drops every entry whose class is `graphicClass` or derives from it.
    void Remove(TGraphicClass graphicClass);
    const std::vector<TFileFormat>& Entries() const { return entries_; }

private:
    std::vector<TFileFormat> entries_;
};

// The extension of a file name: the text after the last "." of its last component (after
// the last "\", "/" or ":"), without the dot; empty when there is none. Letter case kept.
std::string PictureFileExtension(const std::string& fileName);
