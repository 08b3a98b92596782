// Icon groups of a PE file (32- or 64-bit): the resource directory's three levels (type,
// name, language), taken as the system's extraction takes them: the groups in the order
// their entries are stored, named ones first, and the first language of each.
#include <algorithm>
#include <optional>

#include "picture/icongroup/GroupDirectory.h"
#include "toolkit/ByteReader.h"

namespace {

constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe64Magic = 0x20B;
constexpr uint32_t kCoffHeaderSize = 20;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kDirectoryHeaderSize = 16;
constexpr uint32_t kDirectoryEntrySize = 8;
constexpr uint32_t kSubdirectoryBit = 0x80000000u;
constexpr uint16_t kIconType = 3;
constexpr uint16_t kGroupIconType = 14;

struct TSection {
    uint32_t virtualAddress = 0;
    uint32_t virtualSize = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
};

// The file's sections, which turn the addresses the resources speak in into file offsets.
class TPeLayout {
public:
    TPeLayout(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    // Reads the headers; false when they are not a PE file's or lie outside it.
    bool Read(uint32_t peOffset);
    // The file bytes at an address, when the file holds them all.
    std::optional<TFileSpan> Locate(uint32_t address, uint32_t length) const;
    // The file bytes from an address to the end of its section's data.
    std::optional<TFileSpan> LocateToSectionEnd(uint32_t address) const;
    uint32_t ResourceAddress() const { return resourceAddress_; }

private:
    const uint8_t* data_;
    size_t size_;
    std::vector<TSection> sections_;
    uint32_t resourceAddress_ = 0;
};

bool TPeLayout::Read(uint32_t peOffset) {
    ByteReader reader(data_, size_);
    if (!reader.SeekTo(peOffset) || !reader.Has(4 + kCoffHeaderSize + 2)) return false;
    reader.Skip(6);
    const uint16_t sectionCount = reader.ReadU16LE();
    reader.Skip(12);
    const uint16_t optionalSize = reader.ReadU16LE();
    reader.Skip(2);
    const size_t optionalAt = reader.Position();
    const uint16_t magic = reader.ReadU16LE();
    if (magic != kPe32Magic && magic != kPe64Magic) return false;
    const uint32_t countAt = magic == kPe32Magic ? 92 : 108;  // NumberOfRvaAndSizes
    if (countAt + 4 > optionalSize || !reader.SeekTo(optionalAt + countAt) || !reader.Has(4)) return false;
    const uint32_t directoryCount = reader.ReadU32LE();
    const uint32_t resourceAt = countAt + 4 + kResourceDirectoryIndex * 8;
    if (directoryCount <= kResourceDirectoryIndex || resourceAt + 8 > optionalSize) return false;
    if (!reader.SeekTo(optionalAt + resourceAt) || !reader.Has(8)) return false;
    resourceAddress_ = reader.ReadU32LE();
    if (!reader.SeekTo(optionalAt + optionalSize)) return false;
    for (uint16_t i = 0; i < sectionCount && reader.Has(kSectionHeaderSize); ++i) {
        TSection section;
        reader.Skip(8);  // the name
        section.virtualSize = reader.ReadU32LE();
        section.virtualAddress = reader.ReadU32LE();
        section.rawSize = reader.ReadU32LE();
        section.rawOffset = reader.ReadU32LE();
        reader.Skip(16);
        sections_.push_back(section);
    }
    return resourceAddress_ != 0;
}

std::optional<TFileSpan> TPeLayout::Locate(uint32_t address, uint32_t length) const {
    for (const TSection& section : sections_) {
        if (address < section.virtualAddress) continue;
        const uint32_t into = address - section.virtualAddress;
        // Bytes past the raw data are zeros the loader makes; the file does not hold them.
        if (into >= section.rawSize || length > section.rawSize - into) continue;
        return SpanInFile(uint64_t{section.rawOffset} + into, length, size_);
    }
    return std::nullopt;
}

std::optional<TFileSpan> TPeLayout::LocateToSectionEnd(uint32_t address) const {
    for (const TSection& section : sections_) {
        if (address < section.virtualAddress || address - section.virtualAddress >= section.rawSize) continue;
        // A file cut short keeps the part of the tree it still holds.
        const uint64_t start = uint64_t{section.rawOffset} + (address - section.virtualAddress);
        if (start >= size_) return std::nullopt;
        const uint64_t rest = section.rawSize - (address - section.virtualAddress);
        return SpanInFile(start, std::min<uint64_t>(rest, size_ - start), size_);
    }
    return std::nullopt;
}

struct TDirectoryEntry {
    uint32_t name = 0;    // a number, or with the top bit the offset of a name
    uint32_t target = 0;  // with the top bit a subdirectory, otherwise a data entry
};

// The resource directory: offsets within it are relative to its start.
class TResourceTree {
public:
    TResourceTree(const uint8_t* data, const TPeLayout& layout, TFileSpan tree)
        : data_(data), layout_(layout), tree_(tree) {}

    // A directory's entries, in the order stored; none when it lies outside the tree.
    std::vector<TDirectoryEntry> Entries(uint32_t directoryOffset) const;
    // The numbered entry among a directory's entries (the first of equal numbers).
    std::optional<TDirectoryEntry> NumberedEntry(uint32_t directoryOffset, uint16_t id) const;
    // The file bytes of a name's resource: its first language, which must be data.
    std::optional<TFileSpan> FirstLanguageData(const TDirectoryEntry& name) const;

private:
    const uint8_t* data_;
    const TPeLayout& layout_;
    TFileSpan tree_;
};

std::vector<TDirectoryEntry> TResourceTree::Entries(uint32_t directoryOffset) const {
    ByteReader reader(data_ + tree_.offset, tree_.size);
    if (!reader.SeekTo(directoryOffset) || !reader.Has(kDirectoryHeaderSize)) return {};
    reader.Skip(12);
    const uint32_t count = uint32_t{reader.ReadU16LE()} + reader.ReadU16LE();
    std::vector<TDirectoryEntry> entries;
    entries.reserve(std::min<size_t>(count, reader.Remaining() / kDirectoryEntrySize));
    for (uint32_t i = 0; i < count && reader.Has(kDirectoryEntrySize); ++i) {
        TDirectoryEntry entry;
        entry.name = reader.ReadU32LE();
        entry.target = reader.ReadU32LE();
        entries.push_back(entry);
    }
    return entries;
}

std::optional<TDirectoryEntry> TResourceTree::NumberedEntry(uint32_t directoryOffset, uint16_t id) const {
    for (const TDirectoryEntry& entry : Entries(directoryOffset))
        if (entry.name == id && (entry.target & kSubdirectoryBit)) return entry;
    return std::nullopt;
}

std::optional<TFileSpan> TResourceTree::FirstLanguageData(const TDirectoryEntry& name) const {
    if (!(name.target & kSubdirectoryBit)) return std::nullopt;
    const auto languages = Entries(name.target & ~kSubdirectoryBit);
    if (languages.empty() || (languages.front().target & kSubdirectoryBit)) return std::nullopt;
    ByteReader reader(data_ + tree_.offset, tree_.size);
    if (!reader.SeekTo(languages.front().target) || !reader.Has(8)) return std::nullopt;
    const uint32_t address = reader.ReadU32LE();
    return layout_.Locate(address, reader.ReadU32LE());
}

}  // namespace

std::vector<TIconGroup> ListPeIconGroups(const uint8_t* data, size_t size, uint32_t peOffset) {
    TPeLayout layout(data, size);
    if (!layout.Read(peOffset)) return {};
    // The tree runs from its start to the end of its section, whatever the header's size says.
    const auto tree = layout.LocateToSectionEnd(layout.ResourceAddress());
    if (!tree) return {};
    TResourceTree resources(data, layout, *tree);
    const auto groupType = resources.NumberedEntry(0, kGroupIconType);
    if (!groupType) return {};
    TIconImageTable images;
    if (const auto iconType = resources.NumberedEntry(0, kIconType)) {
        for (const TDirectoryEntry& icon : resources.Entries(iconType->target & ~kSubdirectoryBit)) {
            if (icon.name > 0xFFFF) continue;  // named icons cannot be named by a group
            if (const auto span = resources.FirstLanguageData(icon)) images.Add(static_cast<uint16_t>(icon.name), *span);
        }
    }
    images.Seal();
    std::vector<TIconGroup> groups;
    for (const TDirectoryEntry& group : resources.Entries(groupType->target & ~kSubdirectoryBit)) {
        const auto directory = resources.FirstLanguageData(group);
        groups.push_back(directory ? ReadGroupDirectory(data, size, *directory, images) : TIconGroup{});
    }
    return groups;
}
