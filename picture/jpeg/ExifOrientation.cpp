#include "picture/jpeg/ExifOrientation.h"

#include <cstring>

namespace {

constexpr uint8_t ExifSignature[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr size_t TiffHeaderBytes = 8;
constexpr size_t DirectoryEntryBytes = 12;
constexpr uint16_t OrientationTag = 0x0112;
constexpr uint16_t ShortType = 3;

// The TIFF data inside the segment, read in its own byte order. Every read is checked
// against the end: a read that does not fit gives nothing.
class TiffBytes {
public:
    TiffBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Fits(size_t offset, size_t n) const { return offset <= size_ && n <= size_ - offset; }
    bool ChooseByteOrder() {
        if (!Fits(0, 2)) return false;
        if (data_[0] == 'I' && data_[1] == 'I') bigEndian_ = false;
        else if (data_[0] == 'M' && data_[1] == 'M') bigEndian_ = true;
        else return false;
        return true;
    }
    bool U16(size_t offset, uint16_t& value) const {
        if (!Fits(offset, 2)) return false;
        const uint8_t* p = data_ + offset;
        value = static_cast<uint16_t>(bigEndian_ ? (p[0] << 8 | p[1]) : (p[1] << 8 | p[0]));
        return true;
    }
    bool U32(size_t offset, uint32_t& value) const {
        uint16_t first = 0, second = 0;
        if (!U16(offset, first) || !U16(offset + 2, second)) return false;
        value = bigEndian_ ? (uint32_t{first} << 16 | second) : (uint32_t{second} << 16 | first);
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
    bool bigEndian_ = false;
};

// The offset of the first image directory, or 0 when the header is not TIFF's.
size_t FirstDirectoryOffset(TiffBytes& tiff) {
    uint16_t magic = 0;
    uint32_t offset = 0;
    if (!tiff.ChooseByteOrder() || !tiff.U16(2, magic) || magic != 42 || !tiff.U32(4, offset)) return 0;
    // A directory inside the header is damage, not a place to read from.
    return offset >= TiffHeaderBytes ? offset : 0;
}

// The value of a one-number SHORT entry at `entry`, or 0 for anything else.
uint16_t ShortValue(const TiffBytes& tiff, size_t entry) {
    uint16_t type = 0, value = 0;
    uint32_t count = 0;
    if (!tiff.U16(entry + 2, type) || !tiff.U32(entry + 4, count) || !tiff.U16(entry + 8, value)) return 0;
    return type == ShortType && count == 1 ? value : 0;
}

}  // namespace

bool IsExifSegment(const uint8_t* segment, size_t length) {
    return length >= sizeof ExifSignature && std::memcmp(segment, ExifSignature, sizeof ExifSignature) == 0;
}

int ExifOrientation(const uint8_t* segment, size_t length) {
    if (!IsExifSegment(segment, length)) return ExifOrientationAsStored;
    TiffBytes tiff(segment + sizeof ExifSignature, length - sizeof ExifSignature);
    const size_t directory = FirstDirectoryOffset(tiff);
    uint16_t entries = 0;
    if (directory == 0 || !tiff.U16(directory, entries)) return ExifOrientationAsStored;
    // The whole directory must lie inside the segment, not only the entry looked for.
    if (!tiff.Fits(directory + 2, size_t{entries} * DirectoryEntryBytes)) return ExifOrientationAsStored;
    for (size_t i = 0; i < entries; ++i) {
        const size_t entry = directory + 2 + i * DirectoryEntryBytes;
        uint16_t tag = 0;
        tiff.U16(entry, tag);
        if (tag != OrientationTag) continue;
        const uint16_t value = ShortValue(tiff, entry);
        return value >= ExifOrientationAsStored && value <= ExifOrientationLast ? value : ExifOrientationAsStored;
    }
    return ExifOrientationAsStored;
}
