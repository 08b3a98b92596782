#include "picture/icongroup/GroupDirectory.h"

#include <algorithm>

#include "base/ByteReader.h"

namespace {

constexpr uint32_t kGroupHeaderSize = 6;
constexpr uint32_t kGroupEntrySize = 14;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kPngWidthAt = 16;  // in IHDR, right after the signature and the chunk head
constexpr uint32_t kBitmapHeaderSize = 40;

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

uint32_t LittleEndian32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

// A size a header may claim and an icon may have; anything else is the directory's word.
bool PlausibleSide(uint32_t side) { return side > 0 && side <= 0x10000; }

}  // namespace

std::optional<TFileSpan> SpanInFile(uint64_t offset, uint64_t size, uint64_t fileSize) {
    if (offset > fileSize || size > fileSize - offset || offset + size > UINT32_MAX) return std::nullopt;
    return TFileSpan{static_cast<uint32_t>(offset), static_cast<uint32_t>(size)};
}

void TIconImageTable::Seal() {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::optional<TFileSpan> TIconImageTable::Find(uint16_t id) const {
    auto at = std::lower_bound(entries_.begin(), entries_.end(), id,
                               [](const auto& entry, uint16_t wanted) { return entry.first < wanted; });
    if (at == entries_.end() || at->first != id) return std::nullopt;
    return at->second;
}

TStoredImage StoredImage(const uint8_t* data, const TGroupImage& stored) {
    const TIconDirEntry& entry = stored.entry;
    const uint8_t* bytes = data + entry.imageOffset;
    TStoredImage image{bytes, entry.bytesInRes, TIconImageFormat::Dib, static_cast<uint32_t>(entry.Width()),
                       static_cast<uint32_t>(entry.Height())};
    if (entry.bytesInRes >= kPngWidthAt + 8 && std::equal(kPngSignature, kPngSignature + 8, bytes)) {
        image.format = TIconImageFormat::Png;
        uint32_t width = BigEndian32(bytes + kPngWidthAt), height = BigEndian32(bytes + kPngWidthAt + 4);
        if (PlausibleSide(width) && PlausibleSide(height)) image.width = width, image.height = height;
    } else if (entry.bytesInRes >= kBitmapHeaderSize && LittleEndian32(bytes) >= kBitmapHeaderSize) {
        // The height counts the colour rows and the mask rows.
        uint32_t width = LittleEndian32(bytes + 4), height = LittleEndian32(bytes + 8) / 2;
        if (PlausibleSide(width) && PlausibleSide(height)) image.width = width, image.height = height;
    }
    return image;
}

TIconGroup ReadGroupDirectory(const uint8_t* data, size_t size, TFileSpan directory, const TIconLookup& images,
                              uint64_t unit) {
    TIconGroup group;
    ByteReader reader(data + directory.offset, directory.size);
    if (!reader.Has(kGroupHeaderSize)) return group;
    reader.Skip(4);
    const uint16_t count = reader.ReadU16LE();
    uint64_t groupBytes = 0;
    for (uint16_t i = 0; i < count && reader.Has(kGroupEntrySize); ++i) {
        TIconDirEntry entry;
        entry.width = reader.ReadU8();
        entry.height = reader.ReadU8();
        entry.colorCount = reader.ReadU8();
        entry.reserved = reader.ReadU8();
        entry.planes = reader.ReadU16LE();
        entry.bitCount = reader.ReadU16LE();
        // The image's resource says how long it is; the directory's word only trims padding.
        const uint32_t statedSize = reader.ReadU32LE();
        auto span = images.Find(reader.ReadU16LE());
        if (!span || span->offset > size) continue;
        if (statedSize <= span->size && statedSize + unit > span->size) span->size = statedSize;
        groupBytes += span->size;
        if (groupBytes > kMaxGroupBytes) break;
        entry.imageOffset = span->offset;
        entry.bytesInRes = span->size;
        group.images.push_back({entry});
    }
    return group;
}

namespace {

std::optional<TIconDirectory> IcoDirectory(const uint8_t* data, size_t size) {
    try {
        TIconDirectory directory = ReadIconDirectory(data, size);
        if (directory.type == 1) return directory;
    } catch (const Exception&) {
    }
    return std::nullopt;
}

}  // namespace

// The directory the .ico reader takes: type 1, at least one entry, all entries in the file.
size_t CountIcoFileGroups(TByteSource& file) {
    uint8_t header[kIconDirectoryHeaderSize];
    if (!file.ReadAt(0, header, sizeof header)) return 0;
    ByteReader reader(header, sizeof header);
    reader.Skip(2);
    const uint16_t type = reader.ReadU16LE();
    const uint16_t count = reader.ReadU16LE();
    const uint64_t size = file.Size();
    return type == 1 && count != 0 && size >= sizeof header && count <= (size - sizeof header) / kIconDirEntrySize;
}

TIconGroup ReadIcoFileGroup(const uint8_t* data, size_t size) {
    const auto directory = IcoDirectory(data, size);
    if (!directory) return {};
    TIconGroup group;
    uint64_t groupBytes = 0;
    for (TIconDirEntry entry : directory->entries) {
        if (!SpanInFile(entry.imageOffset, entry.bytesInRes, size)) continue;
        groupBytes += entry.bytesInRes;
        if (groupBytes > kMaxGroupBytes) break;
        group.images.push_back({entry});
    }
    return group;
}
