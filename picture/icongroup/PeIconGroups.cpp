// Icon groups of a PE file (32- or 64-bit): the resource directory's three levels (type,
// name, language), taken as the system's extraction takes them: the groups in the order
// their entries are stored, named ones first, and the first language of each.
//
// Counting the groups reads the headers, the section table and two directories of the tree
// through the byte source, a few dozen bytes at a time and nothing held beyond them, so that
// a file on disk is counted from a few small reads; reading a group works on the whole file.
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

struct TPeHeaders {
    uint16_t sectionCount = 0;
    uint64_t sectionsAt = 0;
    uint32_t resourceAddress = 0;
};

struct TSection {
    uint32_t virtualAddress = 0;
    uint32_t virtualSize = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
};

// The headers up to the resource directory's address; none when they are not a PE file's,
// lie outside it or name no resources.
std::optional<TPeHeaders> ReadPeHeaders(TByteSource& file, uint32_t peOffset) {
    uint8_t head[4 + kCoffHeaderSize + 2];
    if (!file.ReadAt(peOffset, head, sizeof head)) return std::nullopt;
    ByteReader reader(head, sizeof head);
    reader.Skip(6);
    TPeHeaders headers;
    headers.sectionCount = reader.ReadU16LE();
    reader.Skip(12);
    const uint16_t optionalSize = reader.ReadU16LE();
    reader.Skip(2);
    const uint16_t magic = reader.ReadU16LE();
    if (magic != kPe32Magic && magic != kPe64Magic) return std::nullopt;
    const uint64_t optionalAt = uint64_t{peOffset} + 4 + kCoffHeaderSize;
    const uint32_t countAt = magic == kPe32Magic ? 92 : 108;  // NumberOfRvaAndSizes
    const uint32_t resourceAt = countAt + 4 + kResourceDirectoryIndex * 8;
    uint8_t field[8];
    if (countAt + 4 > optionalSize || !file.ReadAt(optionalAt + countAt, field, 4)) return std::nullopt;
    const uint32_t directoryCount = ByteReader(field, 4).ReadU32LE();
    if (directoryCount <= kResourceDirectoryIndex || resourceAt + 8 > optionalSize) return std::nullopt;
    if (!file.ReadAt(optionalAt + resourceAt, field, 8)) return std::nullopt;
    headers.resourceAddress = ByteReader(field, 8).ReadU32LE();
    headers.sectionsAt = optionalAt + optionalSize;
    if (headers.resourceAddress == 0) return std::nullopt;
    return headers;
}

std::optional<TSection> ReadSection(TByteSource& file, const TPeHeaders& headers, uint16_t index) {
    uint8_t bytes[kSectionHeaderSize];
    if (!file.ReadAt(headers.sectionsAt + uint64_t{index} * kSectionHeaderSize, bytes, sizeof bytes))
        return std::nullopt;
    ByteReader reader(bytes, sizeof bytes);
    reader.Skip(8);  // the name
    TSection section;
    section.virtualSize = reader.ReadU32LE();
    section.virtualAddress = reader.ReadU32LE();
    section.rawSize = reader.ReadU32LE();
    section.rawOffset = reader.ReadU32LE();
    return section;
}

// The resource directory's bytes: from its address to the end of its section's data, as the
// section claims them (the tree runs that far, whatever the header's size says). The file
// may end sooner: a file cut short keeps the part of the tree it still holds.
struct TTreeSpan {
    uint64_t offset = 0;
    uint64_t size = 0;
};

std::optional<TTreeSpan> ResourceTreeSpan(TByteSource& file, const TPeHeaders& headers) {
    const uint32_t address = headers.resourceAddress;
    for (uint16_t i = 0; i < headers.sectionCount; ++i) {
        const auto section = ReadSection(file, headers, i);
        if (!section) break;
        if (address < section->virtualAddress || address - section->virtualAddress >= section->rawSize) continue;
        const uint32_t into = address - section->virtualAddress;
        return TTreeSpan{uint64_t{section->rawOffset} + into, section->rawSize - into};
    }
    return std::nullopt;
}

// The file's sections, which turn the addresses the resources speak in into file offsets.
class TPeLayout {
public:
    TPeLayout(TByteSource& file, const TPeHeaders& headers);
    // The file bytes at an address, when the file holds them all.
    std::optional<TFileSpan> Locate(uint32_t address, uint32_t length) const;

private:
    std::vector<TSection> sections_;
    uint64_t fileSize_;
};

TPeLayout::TPeLayout(TByteSource& file, const TPeHeaders& headers) : fileSize_(file.Size()) {
    for (uint16_t i = 0; i < headers.sectionCount; ++i) {
        const auto section = ReadSection(file, headers, i);
        if (!section) break;
        sections_.push_back(*section);
    }
}

std::optional<TFileSpan> TPeLayout::Locate(uint32_t address, uint32_t length) const {
    for (const TSection& section : sections_) {
        if (address < section.virtualAddress) continue;
        const uint32_t into = address - section.virtualAddress;
        // Bytes past the raw data are zeros the loader makes; the file does not hold them.
        if (into >= section.rawSize || length > section.rawSize - into) continue;
        return SpanInFile(uint64_t{section.rawOffset} + into, length, fileSize_);
    }
    return std::nullopt;
}

struct TDirectoryEntry {
    uint32_t name = 0;    // a number, or with the top bit the offset of a name
    uint32_t target = 0;  // with the top bit a subdirectory, otherwise a data entry
};

TDirectoryEntry ReadDirectoryEntry(ByteReader& reader) {
    TDirectoryEntry entry;
    entry.name = reader.ReadU32LE();
    entry.target = reader.ReadU32LE();
    return entry;
}

// The resource directory: offsets within it are relative to its start.
class TResourceTree {
public:
    TResourceTree(TByteSource& file, TTreeSpan tree) : file_(file), tree_(tree) {}

    // How many entries a directory has that the tree holds; none when it lies outside.
    size_t EntryCount(uint32_t directoryOffset) const;
    // A directory's entries, in the order stored.
    std::vector<TDirectoryEntry> Entries(uint32_t directoryOffset) const;
    // The numbered entry among a directory's entries (the first of equal numbers), read one
    // entry at a time.
    std::optional<TDirectoryEntry> NumberedEntry(uint32_t directoryOffset, uint16_t id) const;
    // The address and length of a name's resource: its first language, which must be data.
    std::optional<std::pair<uint32_t, uint32_t>> FirstLanguageData(const TDirectoryEntry& name) const;

private:
    bool Read(uint64_t at, uint8_t* out, size_t n) const {
        return at <= tree_.size && n <= tree_.size - at && file_.ReadAt(tree_.offset + at, out, n);
    }
    uint64_t HeldEntries(uint64_t entriesAt, uint64_t count) const;

    TByteSource& file_;
    TTreeSpan tree_;
};

size_t TResourceTree::EntryCount(uint32_t directoryOffset) const {
    uint8_t header[kDirectoryHeaderSize];
    if (!Read(directoryOffset, header, sizeof header)) return 0;
    ByteReader reader(header, sizeof header);
    reader.Skip(12);
    const uint32_t count = uint32_t{reader.ReadU16LE()} + reader.ReadU16LE();
    const uint64_t entriesAt = uint64_t{directoryOffset} + kDirectoryHeaderSize;
    return HeldEntries(entriesAt, std::min<uint64_t>(count, (tree_.size - entriesAt) / kDirectoryEntrySize));
}

// The entries the file holds of those the section claims. The file's size is asked only when
// it ends before the last of them, which is read near the header the caller has just read.
uint64_t TResourceTree::HeldEntries(uint64_t entriesAt, uint64_t count) const {
    uint8_t last;
    if (count == 0 || Read(entriesAt + count * kDirectoryEntrySize - 1, &last, 1)) return count;
    const uint64_t fileSize = file_.Size(), at = tree_.offset + entriesAt;
    return fileSize > at ? std::min(count, (fileSize - at) / kDirectoryEntrySize) : 0;
}

// Read a stretch of entries at a time, so that nothing but the entries themselves is held.
std::vector<TDirectoryEntry> TResourceTree::Entries(uint32_t directoryOffset) const {
    constexpr size_t kStretch = 64;
    const size_t count = EntryCount(directoryOffset);
    std::vector<TDirectoryEntry> entries;
    entries.reserve(count);
    uint8_t bytes[kStretch * kDirectoryEntrySize];
    for (size_t done = 0; done < count;) {
        const size_t n = std::min(kStretch, count - done);
        const uint64_t at = uint64_t{directoryOffset} + kDirectoryHeaderSize + done * kDirectoryEntrySize;
        if (!Read(at, bytes, n * kDirectoryEntrySize)) break;
        ByteReader reader(bytes, n * kDirectoryEntrySize);
        for (size_t i = 0; i < n; ++i) entries.push_back(ReadDirectoryEntry(reader));
        done += n;
    }
    return entries;
}

std::optional<TDirectoryEntry> TResourceTree::NumberedEntry(uint32_t directoryOffset, uint16_t id) const {
    const size_t count = EntryCount(directoryOffset);
    uint8_t bytes[kDirectoryEntrySize];
    for (size_t i = 0; i < count; ++i) {
        if (!Read(uint64_t{directoryOffset} + kDirectoryHeaderSize + i * kDirectoryEntrySize, bytes, sizeof bytes))
            break;
        ByteReader reader(bytes, sizeof bytes);
        const TDirectoryEntry entry = ReadDirectoryEntry(reader);
        if (entry.name == id && (entry.target & kSubdirectoryBit)) return entry;
    }
    return std::nullopt;
}

std::optional<std::pair<uint32_t, uint32_t>> TResourceTree::FirstLanguageData(const TDirectoryEntry& name) const {
    if (!(name.target & kSubdirectoryBit)) return std::nullopt;
    const auto languages = Entries(name.target & ~kSubdirectoryBit);
    if (languages.empty() || (languages.front().target & kSubdirectoryBit)) return std::nullopt;
    uint8_t bytes[8];
    if (!Read(languages.front().target, bytes, sizeof bytes)) return std::nullopt;
    ByteReader reader(bytes, sizeof bytes);
    const uint32_t address = reader.ReadU32LE();
    return std::make_pair(address, reader.ReadU32LE());
}

// The icons a group names, looked up among the icon type's entries as they are needed: a
// library of hundreds of icons is read no further than the group asked for. A group naming
// many images gets them through a sorted index, so that no file makes the look-ups quadratic.
class TPeIconLookup : public TIconLookup {
public:
    TPeIconLookup(const TResourceTree& resources, const TPeLayout& layout, std::vector<TDirectoryEntry> icons)
        : resources_(resources), layout_(layout), icons_(std::move(icons)) {}

    std::optional<TFileSpan> Find(uint16_t id) const override {
        if (++lookups_ > kLinearLookups) return FindIndexed(id);
        for (const TDirectoryEntry& icon : icons_)
            if (icon.name == id) return Data(icon);
        return std::nullopt;
    }

private:
    static constexpr size_t kLinearLookups = 32;

    std::optional<TFileSpan> Data(const TDirectoryEntry& icon) const {
        const auto data = resources_.FirstLanguageData(icon);
        return data ? layout_.Locate(data->first, data->second) : std::nullopt;
    }

    // The first entry of the number, in the order stored, as the scan above finds it.
    std::optional<TFileSpan> FindIndexed(uint16_t id) const {
        if (index_.empty()) {
            for (size_t i = 0; i < icons_.size(); ++i) index_.push_back({icons_[i].name, i});
            std::sort(index_.begin(), index_.end());
        }
        auto at = std::lower_bound(index_.begin(), index_.end(), std::make_pair(uint32_t{id}, size_t{0}));
        if (at == index_.end() || at->first != id) return std::nullopt;
        return Data(icons_[at->second]);
    }

    const TResourceTree& resources_;
    const TPeLayout& layout_;
    std::vector<TDirectoryEntry> icons_;
    mutable size_t lookups_ = 0;
    mutable std::vector<std::pair<uint32_t, size_t>> index_;
};

// The tree of a PE file and its group type's entry, when it has both.
struct TGroupType {
    TResourceTree resources;
    TDirectoryEntry entry;
};

std::optional<TGroupType> FindGroupType(TByteSource& file, const TPeHeaders& headers) {
    const auto tree = ResourceTreeSpan(file, headers);
    if (!tree) return std::nullopt;
    const TResourceTree resources(file, *tree);
    const auto groupType = resources.NumberedEntry(0, kGroupIconType);
    if (!groupType) return std::nullopt;
    return TGroupType{resources, *groupType};
}

}  // namespace

size_t CountPeIconGroups(TByteSource& file, uint32_t peOffset) {
    const auto headers = ReadPeHeaders(file, peOffset);
    const auto groupType = headers ? FindGroupType(file, *headers) : std::nullopt;
    return groupType ? groupType->resources.EntryCount(groupType->entry.target & ~kSubdirectoryBit) : 0;
}

TIconGroup ReadPeIconGroup(const uint8_t* data, size_t size, uint32_t peOffset, size_t index) {
    TMemorySource file(data, size);
    const auto headers = ReadPeHeaders(file, peOffset);
    const auto groupType = headers ? FindGroupType(file, *headers) : std::nullopt;
    if (!groupType) return {};
    const TResourceTree& resources = groupType->resources;
    const auto groups = resources.Entries(groupType->entry.target & ~kSubdirectoryBit);
    if (index >= groups.size()) return {};
    const TPeLayout layout(file, *headers);
    const auto directoryData = resources.FirstLanguageData(groups[index]);
    const auto directory = directoryData ? layout.Locate(directoryData->first, directoryData->second) : std::nullopt;
    if (!directory) return {};
    const auto iconType = resources.NumberedEntry(0, kIconType);
    TPeIconLookup icons(resources, layout,
                        iconType ? resources.Entries(iconType->target & ~kSubdirectoryBit) : std::vector<TDirectoryEntry>{});
    return ReadGroupDirectory(data, size, *directory, icons);
}
