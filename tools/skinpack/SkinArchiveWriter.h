#pragma once
// Writes skin archives (format mark 20000, CR LF name list, size table, data) and wraps them
// as stored skins (uncompressed size, then the LZHUF-compressed archive).
#include <cstdint>
#include <string>
#include <vector>

struct TSkinArchiveEntry {
    std::string name;
    std::vector<uint8_t> data;
};

std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinArchiveEntry>& entries);
std::vector<uint8_t> WrapStoredSkin(const std::vector<uint8_t>& archive);
