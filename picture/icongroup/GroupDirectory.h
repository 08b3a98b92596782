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
std::optional<TFileSpan> SpanInFile(uint64_t offset, uint64_t size, uint64_t fileSize);

// Finds a file's icon images by resource number (the first of equal numbers).
class TIconLookup {
public:
    virtual ~TIconLookup() = default;
    virtual std::optional<TFileSpan> Find(uint16_t id) const = 0;
};

// The icon images of a file by resource number, gathered first.
class TIconImageTable : public TIconLookup {
public:
    void Add(uint16_t id, TFileSpan span) { entries_.push_back({id, span}); }
    // Sorts once all are added.
    void Seal();
    std::optional<TFileSpan> Find(uint16_t id) const override;

private:
    std::vector<std::pair<uint16_t, TFileSpan>> entries_;
};

// Reads a stored group directory: 6 header bytes, then 14-byte entries naming images by
// number. Entries past the directory's bytes, and images the table lacks, are left out.
// Resources whose lengths the file rounds up to a unit (NE files) are taken at the length the
// directory gives, when that lies within the last unit.
TIconGroup ReadGroupDirectory(const uint8_t* data, size_t size, TFileSpan directory, const TIconLookup& images,
                              uint64_t unit = 1);

// Each layout: how many groups a file holds, counted from its directory alone through small
// reads, and one group read in full from the whole file (empty when there is no such group).
size_t CountPeIconGroups(TByteSource& file, uint32_t peOffset);
TIconGroup ReadPeIconGroup(const uint8_t* data, size_t size, uint32_t peOffset, size_t index);
size_t CountNeIconGroups(TByteSource& file, uint32_t neOffset);
TIconGroup ReadNeIconGroup(const uint8_t* data, size_t size, uint32_t neOffset, size_t index);
size_t CountIcoFileGroups(TByteSource& file);
TIconGroup ReadIcoFileGroup(const uint8_t* data, size_t size);

// Which layout a file has and where its PE or NE header starts.
struct TLayoutAt {
    TGroupLayout layout = TGroupLayout::None;
    uint32_t headerAt = 0;
};
TLayoutAt FindGroupLayout(TByteSource& file);
