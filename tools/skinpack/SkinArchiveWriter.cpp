#include "tools/skinpack/SkinArchiveWriter.h"

#include <stdexcept>

#include "base/ByteReader.h"
#include "skin/stored/SkinReader.h"
#include "tools/skinpack/LzhufEncoder.h"

std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinArchiveEntry>& entries) {
    if (entries.size() > SkinArchive::MaxEntries) throw std::length_error("too many skin archive entries");
    std::string names;
    for (const TSkinArchiveEntry& entry : entries) {
        if (entry.name.find_first_of("\r\n") != std::string::npos) {
            throw std::invalid_argument("skin archive entry name with a line break: " + entry.name);
        }
        names += entry.name + "\r\n";
    }
    std::vector<uint8_t> archive;
    PutU32LE(archive, static_cast<uint32_t>(SkinArchive::FormatMark));
    PutU32LE(archive, static_cast<uint32_t>(names.size()));
    PutU32LE(archive, 0);
    PutU32LE(archive, 0);
    PutBytes(archive, names.data(), names.size());
    for (const TSkinArchiveEntry& entry : entries) PutU32LE(archive, static_cast<uint32_t>(entry.data.size()));
    for (const TSkinArchiveEntry& entry : entries) PutBytes(archive, entry.data.data(), entry.data.size());
    return archive;
}

std::vector<uint8_t> WrapStoredSkin(const std::vector<uint8_t>& archive) {
    std::vector<uint8_t> stored;
    PutU32LE(stored, static_cast<uint32_t>(archive.size()));
    std::vector<uint8_t> packed = LzhufCompress(archive);
    stored.insert(stored.end(), packed.begin(), packed.end());
    return stored;
}
