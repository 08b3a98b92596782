#include <algorithm>

#include "base/ByteReader.h"
#include "picture/icongroup/GroupDirectory.h"

namespace {

constexpr uint32_t kNewHeaderAt = 0x3C;  // in the MZ header: where the PE or NE header is

}  // namespace

TIconGroupReader::TIconGroupReader(const uint8_t* data, size_t size) : data_(data), size_(size) {
    ByteReader reader(data, size);
    if (!reader.Has(2) || data[0] != 'M' || data[1] != 'Z') {
        layout_ = TLayout::Ico;
        count_ = CountIcoFileGroups(data, size);
        return;
    }
    if (!reader.SeekTo(kNewHeaderAt) || !reader.Has(4)) return;
    headerAt_ = reader.ReadU32LE();
    if (!reader.SeekTo(headerAt_) || !reader.Has(4)) return;
    const uint8_t* signature = reader.Current();
    if (signature[0] == 'P' && signature[1] == 'E' && signature[2] == 0 && signature[3] == 0) {
        layout_ = TLayout::Pe;
        count_ = CountPeIconGroups(data, size, headerAt_);
    } else if (signature[0] == 'N' && signature[1] == 'E') {
        layout_ = TLayout::Ne;
        count_ = CountNeIconGroups(data, size, headerAt_);
    }
}

TIconGroup TIconGroupReader::Group(size_t index) const {
    if (index >= count_) return {};
    switch (layout_) {
        case TLayout::Pe: return ReadPeIconGroup(data_, size_, headerAt_, index);
        case TLayout::Ne: return ReadNeIconGroup(data_, size_, headerAt_, index);
        case TLayout::Ico: return ReadIcoFileGroup(data_, size_);
        case TLayout::None: break;
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
