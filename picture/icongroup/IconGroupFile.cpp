#include <algorithm>

#include "base/ByteReader.h"
#include "picture/icongroup/GroupDirectory.h"

namespace {

constexpr uint32_t kNewHeaderAt = 0x3C;  // in the MZ header: where the PE or NE header is

size_t CountGroupsOf(TByteSource& file, TLayoutAt found) {
    switch (found.layout) {
        case TGroupLayout::Pe: return CountPeIconGroups(file, found.headerAt);
        case TGroupLayout::Ne: return CountNeIconGroups(file, found.headerAt);
        case TGroupLayout::Ico: return CountIcoFileGroups(file);
        case TGroupLayout::None: break;
    }
    return 0;
}

}  // namespace

// Whatever does not start as an MZ file may be an .ico file.
TLayoutAt FindGroupLayout(TByteSource& file) {
    uint8_t bytes[4];
    if (!file.ReadAt(0, bytes, 2) || bytes[0] != 'M' || bytes[1] != 'Z') return {TGroupLayout::Ico, 0};
    if (!file.ReadAt(kNewHeaderAt, bytes, 4)) return {};
    const uint32_t headerAt = ByteReader(bytes, 4).ReadU32LE();
    if (!file.ReadAt(headerAt, bytes, 4)) return {};
    if (bytes[0] == 'P' && bytes[1] == 'E' && bytes[2] == 0 && bytes[3] == 0) return {TGroupLayout::Pe, headerAt};
    if (bytes[0] == 'N' && bytes[1] == 'E') return {TGroupLayout::Ne, headerAt};
    return {};
}

size_t CountIconGroups(TByteSource& file) { return CountGroupsOf(file, FindGroupLayout(file)); }

TIconGroupReader::TIconGroupReader(const uint8_t* data, size_t size) : data_(data), size_(size) {
    TMemorySource file(data, size);
    const TLayoutAt found = FindGroupLayout(file);
    layout_ = found.layout;
    headerAt_ = found.headerAt;
    count_ = CountGroupsOf(file, found);
}

TIconGroup TIconGroupReader::Group(size_t index) const {
    if (index >= count_) return {};
    switch (layout_) {
        case TGroupLayout::Pe: return ReadPeIconGroup(data_, size_, headerAt_, index);
        case TGroupLayout::Ne: return ReadNeIconGroup(data_, size_, headerAt_, index);
        case TGroupLayout::Ico: return ReadIcoFileGroup(data_, size_);
        case TGroupLayout::None: break;
    }
    return {};
}

std::vector<TIconGroup> ListIconGroups(const uint8_t* data, size_t size) {
    const TIconGroupReader reader(data, size);
    std::vector<TIconGroup> groups;
    groups.reserve(reader.Count());
    for (size_t i = 0; i < reader.Count(); ++i) groups.push_back(reader.Group(i));
    return groups;
}

TStoredImage LargestImage(const uint8_t* data, const TIconGroup& group) {
    TStoredImage largest;
    uint16_t largestBits = 0;
    auto pixels = [](const TStoredImage& image) { return uint64_t{image.width} * image.height; };
    for (const TGroupImage& stored : group.images) {
        const TStoredImage image = StoredImage(data, stored);
        if (!largest.bytes || pixels(image) > pixels(largest) ||
            (pixels(image) == pixels(largest) && stored.entry.bitCount >= largestBits))
            largest = image, largestBits = stored.entry.bitCount;
    }
    return largest;
}

std::vector<uint32_t> GroupSizes(const uint8_t* data, const TIconGroup& group) {
    std::vector<uint32_t> sizes;
    for (const TGroupImage& image : group.images) sizes.push_back(StoredImage(data, image).width);
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

std::vector<uint8_t> WriteIconGroupFile(const uint8_t* data, const TIconGroup& group) {
    if (group.images.empty()) throw EInvalidGraphic(ErrorText::InvalidIcon);
    const uint32_t count = static_cast<uint32_t>(group.images.size());
    uint64_t total = kIconDirectoryHeaderSize + uint64_t{kIconDirEntrySize} * count;
    for (const TGroupImage& image : group.images) total += image.entry.bytesInRes;
    if (count > 0xFFFF || total > kMaxGroupBytes + uint64_t{kIconDirEntrySize} * 0x10000)
        throw EInvalidGraphic(ErrorText::InvalidIcon);
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(total));
    PutIconDirectoryHeader(out, static_cast<uint16_t>(count));
    uint32_t offset = kIconDirectoryHeaderSize + kIconDirEntrySize * count;
    for (const TGroupImage& image : group.images) {
        PutIconDirEntry(out, image.entry, offset);
        offset += image.entry.bytesInRes;
    }
    for (const TGroupImage& image : group.images)
        PutBytes(out, data + image.entry.imageOffset, image.entry.bytesInRes);
    return out;
}
