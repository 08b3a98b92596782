// The skin archive reader and colour texts over arbitrary stored-skin bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/stored/SkinColour.h"
#include "skin/stored/SkinReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TSkinReader reader;
    if (reader.Open(data, size)) {
        TMemoryStream entry;
        std::string settings = reader.ExtractFirstContaining(".ini", entry);
        for (const std::string& name : reader.Names()) reader.ExtractByName(name, entry);
        ParseSkinColour(std::string(entry.Bytes().begin(), entry.Bytes().end()), 0);
    }
    ParseSkinColour(std::string(reinterpret_cast<const char*>(data), size), 0);
    return 0;
}
