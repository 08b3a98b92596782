#pragma once
// Checks metafile bytes before the system is given them: an enhanced metafile (.emf), a
// placeable Windows metafile (.wmf with its 22-byte preamble) or a plain Windows metafile.
// Every record must lie inside the data and the record chain must reach its end record;
// anything else gives "Metafile is not valid".
#include <cstddef>
#include <cstdint>

enum class TMetafileKind { Enhanced, Placeable, Plain };

struct TMetafileInfo {
    TMetafileKind kind = TMetafileKind::Enhanced;
    size_t offset = 0;     // where the metafile proper starts (22 after a placeable preamble)
    size_t length = 0;     // its bytes, up to and including the end record
    // Enhanced: the picture frame in 0.01 mm. Placeable: the bounding box in logical units
    // and the units per inch.
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    uint16_t unitsPerInch = 0;
};

TMetafileInfo ReadMetafileInfo(const uint8_t* data, size_t size);
