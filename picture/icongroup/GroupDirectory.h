#pragma once
// What the three layouts share: the stored group directory (GRPICONDIR) whose entries name
// their images by resource number, and the look-up of those numbers in a file's icons.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "picture/icongroup/IconGroup.h"

// Bytes of a file: an offset and a length that both lie inside it.
struct TFileSpan {
    uint32_t offset = 0;
    uint32_t size = 0;
};

// A span from a 64-bit offset and length, when the file holds all of it.
std::optional<TFileSpan> SpanInFile(uint64_t offset, uint64_t size, size_t fileSize);

// The icon images of a file by resource number (the first of equal numbers wins).
class TIconImageTable {
public:
    void Add(uint16_t id, TFileSpan span) { entries_.push_back({id, span}); }
    // Sorts once all are added.
    void Seal();
    std::optional<TFileSpan> Find(uint16_t id) const;

private:
    std::vector<std::pair<uint16_t, TFileSpan>> entries_;
};

// Reads a stored group directory: 6 header bytes, then 14-byte entries naming images by
// number. Entries past the directory's bytes, and images the table lacks, are left out.
// Resources whose lengths the file rounds up to a unit (NE files) are taken at the length the
// directory gives, when that lies within the last unit.
TIconGroup ReadGroupDirectory(const uint8_t* data, size_t size, TFileSpan directory, const TIconImageTable& images,
                              uint64_t unit = 1);

// An image's format and own size from its first bytes; `entry` holds its place in the file.
TGroupImage DescribeImage(const uint8_t* data, const TIconDirEntry& entry);

std::vector<TIconGroup> ListPeIconGroups(const uint8_t* data, size_t size, uint32_t peOffset);
std::vector<TIconGroup> ListNeIconGroups(const uint8_t* data, size_t size, uint32_t neOffset);
std::vector<TIconGroup> ListIcoFileGroup(const uint8_t* data, size_t size);
