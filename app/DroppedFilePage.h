#pragma once
// Where a file dropped onto the About page goes: icon sources to the icon page, pictures the
// conversion page reads to that page, anything else nowhere (the conversion page's message
// for an unknown extension). Compared without regard to letter case.
#include <string>

#include "base/AnsiFileName.h"

enum class TDroppedFilePage { Icons, Conversion, None };

inline TDroppedFilePage DroppedFilePage(const std::string& fileName) {
    const std::string extension = UpperCaseAscii(ExtensionPart(FileNamePart(fileName)));
    for (const char* icons : {".EXE", ".DLL", ".ICL", ".ICO"})
        if (extension == icons) return TDroppedFilePage::Icons;
    for (const char* pictures : {".BMP", ".JPG", ".JPEG", ".GIF", ".PNG"})
        if (extension == pictures) return TDroppedFilePage::Conversion;
    return TDroppedFilePage::None;
}
