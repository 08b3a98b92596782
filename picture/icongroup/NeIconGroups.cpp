// Icon groups of an NE file (icon libraries, 16-bit programs): its resource table, a list of
// types each followed by its resources, whose places and lengths count in units of a
// power of two the table starts with.
#include "base/ByteReader.h"
#include "picture/icongroup/GroupDirectory.h"

namespace {

constexpr uint32_t kResourceTableAt = 0x24;  // in the NE header: the table's offset from it
constexpr uint32_t kTypeHeaderSize = 8;
constexpr uint32_t kResourceInfoSize = 12;
constexpr uint16_t kNumberedBit = 0x8000;
constexpr uint16_t kIconType = kNumberedBit | 3;
constexpr uint16_t kGroupIconType = kNumberedBit | 14;

struct TNeResource {
    uint16_t id = 0;
    std::optional<TFileSpan> span;
};

struct TNeResourceTypes {
    uint16_t shift = 0;
    std::vector<TNeResource> icons;
    std::vector<TNeResource> groups;
    bool hasGroups = false;
};

// Units of 2^shift; a shift that leaves no unit inside a 32-bit file places nothing in it.
std::optional<TFileSpan> ScaledSpan(uint16_t offset, uint16_t length, uint16_t shift, size_t size) {
    if (shift >= 32) return std::nullopt;
    return SpanInFile(uint64_t{offset} << shift, uint64_t{length} << shift, size);
}

std::vector<TNeResource> ReadResources(ByteReader& reader, uint16_t count, uint16_t shift, size_t size) {
    std::vector<TNeResource> resources;
    for (uint16_t i = 0; i < count && reader.Has(kResourceInfoSize); ++i) {
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
TNeResourceTypes ReadResourceTable(const uint8_t* data, size_t size, uint64_t tableAt) {
    TNeResourceTypes types;
    ByteReader reader(data, size);
    if (tableAt > size || !reader.SeekTo(static_cast<size_t>(tableAt)) || !reader.Has(2)) return types;
    const uint16_t shift = types.shift = reader.ReadU16LE();
    bool hasIcons = false;
    while (reader.Has(2) && !(hasIcons && types.hasGroups)) {
        const uint16_t type = reader.ReadU16LE();
        if (type == 0 || !reader.Has(kTypeHeaderSize - 2)) break;
        const uint16_t count = reader.ReadU16LE();
        reader.Skip(4);
        auto resources = ReadResources(reader, count, shift, size);
        if (type == kIconType && !hasIcons) hasIcons = true, types.icons = std::move(resources);
        if (type == kGroupIconType && !types.hasGroups) types.hasGroups = true, types.groups = std::move(resources);
    }
    return types;
}

TNeResourceTypes ReadNeResources(const uint8_t* data, size_t size, uint32_t neOffset) {
    ByteReader reader(data, size);
    const uint64_t headerFieldsAt = uint64_t{neOffset} + kResourceTableAt;
    if (headerFieldsAt > size || !reader.SeekTo(static_cast<size_t>(headerFieldsAt)) || !reader.Has(4)) return {};
    const uint16_t tableOffset = reader.ReadU16LE();
    const uint16_t namesOffset = reader.ReadU16LE();
    if (tableOffset == namesOffset) return {};  // no resource table
    return ReadResourceTable(data, size, uint64_t{neOffset} + tableOffset);
}

}  // namespace

size_t CountNeIconGroups(const uint8_t* data, size_t size, uint32_t neOffset) {
    return ReadNeResources(data, size, neOffset).groups.size();
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
