// Icon groups of an NE file (icon libraries, 16-bit programs): its resource table, a list of
// types each followed by its resources, whose places and lengths count in units of a
// power of two the table starts with. The table is walked through the byte source one type
// header at a time; counting reads no resource entry at all.
#include <algorithm>

#include "base/ByteReader.h"
#include "picture/icongroup/GroupDirectory.h"

namespace {

constexpr uint32_t kResourceTableAt = 0x24;  // in the NE header: the table's offset from it
constexpr uint32_t kTypeHeaderSize = 8;
constexpr uint32_t kResourceInfoSize = 12;
constexpr uint16_t kNumberedBit = 0x8000;
constexpr uint16_t kIconType = kNumberedBit | 3;
constexpr uint16_t kGroupIconType = kNumberedBit | 14;

// One type of the table: its resources' entries as far as the file holds them.
struct TNeType {
    uint16_t type = 0;
    uint64_t entriesAt = 0;
    uint16_t heldCount = 0;
};

struct TNeResource {
    uint16_t id = 0;
    std::optional<TFileSpan> span;
};

struct TNeResourceTypes {
    uint16_t shift = 0;
    std::vector<TNeResource> icons;
    std::vector<TNeResource> groups;
};

// Where the table starts and its alignment shift; none when the file has no table.
std::optional<std::pair<uint64_t, uint16_t>> FindResourceTable(TByteSource& file, uint32_t neOffset) {
    uint8_t bytes[4];
    if (!file.ReadAt(uint64_t{neOffset} + kResourceTableAt, bytes, 4)) return std::nullopt;
    ByteReader fields(bytes, 4);
    const uint16_t tableOffset = fields.ReadU16LE();
    const uint16_t namesOffset = fields.ReadU16LE();
    if (tableOffset == namesOffset) return std::nullopt;  // no resource table
    const uint64_t tableAt = uint64_t{neOffset} + tableOffset;
    if (!file.ReadAt(tableAt, bytes, 2)) return std::nullopt;
    return std::make_pair(tableAt, ByteReader(bytes, 2).ReadU16LE());
}

// Hands each type of the table to `visit` in order until it returns false, the table ends
// or the file does.
template <typename Visit>
void WalkTypes(TByteSource& file, uint64_t typesAt, Visit visit) {
    const uint64_t size = file.Size();
    uint8_t header[kTypeHeaderSize];
    for (uint64_t at = typesAt;;) {
        const size_t held = file.ReadSome(at, header, sizeof header);
        ByteReader reader(header, held);
        if (held < 2) return;
        TNeType type;
        type.type = reader.ReadU16LE();
        if (type.type == 0 || held < kTypeHeaderSize) return;
        const uint16_t count = reader.ReadU16LE();
        type.entriesAt = at + kTypeHeaderSize;
        type.heldCount = static_cast<uint16_t>(
            std::min<uint64_t>(count, (size - std::min(size, type.entriesAt)) / kResourceInfoSize));
        if (!visit(type)) return;
        at = type.entriesAt + uint64_t{type.heldCount} * kResourceInfoSize;
    }
}

// Units of 2^shift; a shift that leaves no unit inside a 32-bit file places nothing in it.
std::optional<TFileSpan> ScaledSpan(uint16_t offset, uint16_t length, uint16_t shift, size_t size) {
    if (shift >= 32) return std::nullopt;
    return SpanInFile(uint64_t{offset} << shift, uint64_t{length} << shift, size);
}

std::vector<TNeResource> ReadResources(const uint8_t* data, size_t size, const TNeType& type, uint16_t shift) {
    ByteReader reader(data, size);
    reader.SeekTo(static_cast<size_t>(type.entriesAt));  // the walk found the entries inside the file
    std::vector<TNeResource> resources;
    for (uint16_t i = 0; i < type.heldCount; ++i) {
        const uint16_t offset = reader.ReadU16LE();
        const uint16_t length = reader.ReadU16LE();
        reader.Skip(2);  // flags
        TNeResource resource;
        resource.id = reader.ReadU16LE();
        reader.Skip(4);  // handle and usage, the loader's own
        resource.span = ScaledSpan(offset, length, shift, size);
        resources.push_back(resource);
    }
    return resources;
}

// The first icon type and the first group type the table lists; the rest is passed over.
TNeResourceTypes ReadNeResources(const uint8_t* data, size_t size, uint32_t neOffset) {
    TMemorySource file(data, size);
    TNeResourceTypes types;
    const auto table = FindResourceTable(file, neOffset);
    if (!table) return types;
    types.shift = table->second;
    bool hasIcons = false, hasGroups = false;
    WalkTypes(file, table->first + 2, [&](const TNeType& type) {
        if (type.type == kIconType && !hasIcons) hasIcons = true, types.icons = ReadResources(data, size, type, types.shift);
        if (type.type == kGroupIconType && !hasGroups)
            hasGroups = true, types.groups = ReadResources(data, size, type, types.shift);
        return !(hasIcons && hasGroups);
    });
    return types;
}

}  // namespace

size_t CountNeIconGroups(TByteSource& file, uint32_t neOffset) {
    const auto table = FindResourceTable(file, neOffset);
    size_t count = 0;
    if (table) {
        WalkTypes(file, table->first + 2, [&](const TNeType& type) {
            if (type.type == kGroupIconType) count = type.heldCount;
            return type.type != kGroupIconType;
        });
    }
    return count;
}

TIconGroup ReadNeIconGroup(const uint8_t* data, size_t size, uint32_t neOffset, size_t index) {
    const TNeResourceTypes types = ReadNeResources(data, size, neOffset);
    if (index >= types.groups.size() || !types.groups[index].span) return {};
    TIconImageTable images;
    for (const TNeResource& icon : types.icons)
        if ((icon.id & kNumberedBit) && icon.span) images.Add(icon.id & ~kNumberedBit, *icon.span);
    images.Seal();
    return ReadGroupDirectory(data, size, *types.groups[index].span, images, uint64_t{1} << types.shift);
}
