#pragma once
// The conversion engine: reads the source picture and writes it in the target's format.
// Every picture object it makes lives for one call; errors of reading or writing pass on
// to the caller unchanged, and every file is written through the writers' safe saving, so a
// failed conversion leaves an existing target as it was.
#include <string>

#include "convert/ConversionMatrix.h"

class TIconWriter;

struct TConversionSettings {
    int quality = 65;            // JPEG quality, 0 ... 100 (0 writes as 1 does)
    bool trueColorIcon = false;  // ICO targets in true colour rather than 256 colours
    int iconWidth = 32;          // the system icon size, read once per conversion
    int iconHeight = 32;
};

// Writes `source` (of kind sourceKind) as `target` (of kind targetKind). The caller asks
// CanConvert first, and tells the user about a pair outside the conversion table; such a
// pair writes nothing here.
void ConvertPicture(const std::string& source, TPictureKind sourceKind, const std::string& target,
                    TPictureKind targetKind, const TConversionSettings& settings, const TIconWriter& writer);
