// Icon groups of a PE file (32- or 64-bit): the resource directory's three levels (type,
// name, language), taken as the system's extraction takes them: the groups in the order
// their entries are stored, named ones first, and the first language of each.
#include <algorithm>
#include <optional>

#include "base/ByteReader.h"
#include "picture/icongroup/GroupDirectory.h"

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
    // How many entries Entries gives, without reading them.
    size_t EntryCount(uint32_t directoryOffset) const;
    // The numbered entry among a directory's entries (the first of equal numbers).
    std::optional<TDirectoryEntry> NumberedEntry(uint32_t directoryOffset, uint16_t id) const;
    // The file bytes of a name's resource: its first language, which must be data.
    std::optional<TFileSpan> FirstLanguageData(const TDirectoryEntry& name) const;

private:
    const uint8_t* data_;
    const TPeLayout& layout_;
    TFileSpan tree_;
};

size_t TResourceTree::EntryCount(uint32_t directoryOffset) const {
    ByteReader reader(data_ + tree_.offset, tree_.size);
    if (!reader.SeekTo(directoryOffset) || !reader.Has(kDirectoryHeaderSize)) return 0;
    reader.Skip(12);
    const uint32_t count = uint32_t{reader.ReadU16LE()} + reader.ReadU16LE();
    return std::min<size_t>(count, reader.Remaining() / kDirectoryEntrySize);
}

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

// The icons a group names, looked up among the icon type's entries as they are needed: a
// library of hundreds of icons is read no further than the group asked for. A group naming
// many images gets them through a sorted index, so that no file makes the look-ups quadratic.
class TPeIconLookup : public TIconLookup {
public:
    TPeIconLookup(const TResourceTree& resources, std::vector<TDirectoryEntry> icons)
        : resources_(resources), icons_(std::move(icons)) {}

    std::optional<TFileSpan> Find(uint16_t id) const override {
        if (++lookups_ > kLinearLookups) return FindIndexed(id);
        for (const TDirectoryEntry& icon : icons_)
            if (icon.name == id) return resources_.FirstLanguageData(icon);
        return std::nullopt;
    }

private:
    static constexpr size_t kLinearLookups = 32;

    // The first entry of the number, in the order stored, as the scan above finds it.
    std::optional<TFileSpan> FindIndexed(uint16_t id) const {
        if (index_.empty()) {
            for (size_t i = 0; i < icons_.size(); ++i) index_.push_back({icons_[i].name, i});
            std::sort(index_.begin(), index_.end());
        }
        auto at = std::lower_bound(index_.begin(), index_.end(), std::make_pair(uint32_t{id}, size_t{0}));
        if (at == index_.end() || at->first != id) return std::nullopt;
        return resources_.FirstLanguageData(icons_[at->second]);
    }

    const TResourceTree& resources_;
    std::vector<TDirectoryEntry> icons_;
    mutable size_t lookups_ = 0;
    mutable std::vector<std::pair<uint32_t, size_t>> index_;
};

// A PE file's group entries, in the order stored: a few hundred bytes of its directory.
class TPeGroups {
public:
    TPeGroups(const uint8_t* data, size_t size, uint32_t peOffset);
    size_t Count() const { return groupType_ ? resources_->EntryCount(groupType_->target & ~kSubdirectoryBit) : 0; }
    TIconGroup Read(size_t index) const;

private:
    const uint8_t* data_;
    size_t size_;
    TPeLayout layout_;
    std::optional<TResourceTree> resources_;
    std::optional<TDirectoryEntry> groupType_;
};

TPeGroups::TPeGroups(const uint8_t* data, size_t size, uint32_t peOffset)
    : data_(data), size_(size), layout_(data, size) {
    if (!layout_.Read(peOffset)) return;
    // The tree runs from its start to the end of its section, whatever the header's size says.
    const auto tree = layout_.LocateToSectionEnd(layout_.ResourceAddress());
    if (!tree) return;
    resources_.emplace(data, layout_, *tree);
    groupType_ = resources_->NumberedEntry(0, kGroupIconType);
}

TIconGroup TPeGroups::Read(size_t index) const {
    if (index >= Count()) return {};
    const auto groups = resources_->Entries(groupType_->target & ~kSubdirectoryBit);
    const auto directory = resources_->FirstLanguageData(groups[index]);
    if (!directory) return {};
    const auto iconType = resources_->NumberedEntry(0, kIconType);
    TPeIconLookup icons(*resources_, iconType ? resources_->Entries(iconType->target & ~kSubdirectoryBit)
                                              : std::vector<TDirectoryEntry>{});
    return ReadGroupDirectory(data_, size_, *directory, icons);
}

}  // namespace

size_t CountPeIconGroups(const uint8_t* data, size_t size, uint32_t peOffset) {
    return TPeGroups(data, size, peOffset).Count();
}

TIconGroup ReadPeIconGroup(const uint8_t* data, size_t size, uint32_t peOffset, size_t index) {
    return TPeGroups(data, size, peOffset).Read(index);
}
