#pragma once
// The icon groups a file carries, read from the file itself: the RT_GROUP_ICON resources of a
// 32- or 64-bit PE file, the icon groups of an NE file's resource table (icon libraries,
// 16-bit programs) or the one group an .ico file is. Groups come in the order the system's
// icon extraction numbers them, so group i is the icon the page shows at index i.
//
// Nothing here trusts the file: every offset and size is checked against it, an image the
// file does not hold is left out of its group (the group stays, so the numbering holds), and
// a file of no known layout simply has no groups.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "picture/ico/IconDirectory.h"
#include "picture/icongroup/ByteSource.h"

enum class TIconImageFormat { Dib, Png };

// One image of a group: the group directory's entry as stored, except that `bytesInRes` and
// `imageOffset` give the image's bytes within the file. Listing reads no image itself, so
// that a library's groups cost its directories only.
struct TGroupImage {
    TIconDirEntry entry;
};

struct TIconGroup {
    std::vector<TGroupImage> images;
};

// The most bytes one group may bring into an .ico file; images past it are left out. The
// largest icons stored today (256-pixel bitmaps at 32 bits, PNG images) come to a few
// megabytes a group; a group naming one big image thousands of times stays bounded.
constexpr uint32_t kMaxGroupBytes = 32u << 20;

enum class TGroupLayout { None, Pe, Ne, Ico };

// How many groups a file holds, read from its headers and directory alone: small reads near
// each other (through a TBlockBuffer, a few reads of the file), nothing held that the file
// sizes. The same count TIconGroupReader gives the file's bytes.
size_t CountIconGroups(TByteSource& file);

// The groups of a file's bytes (which the caller keeps alive), counted from the file's
// directory alone; each group is read in full when asked for, so that stepping through a
// library of hundreds of icons reads one group at a time.
class TIconGroupReader {
public:
    TIconGroupReader(const uint8_t* data, size_t size);
    size_t Count() const { return count_; }
    // Empty past the count.
    TIconGroup Group(size_t index) const;

private:
    const uint8_t* data_;
    size_t size_;
    TGroupLayout layout_ = TGroupLayout::None;
    uint32_t headerAt_ = 0;
    size_t count_ = 0;
};

// Every group, read in full.
std::vector<TIconGroup> ListIconGroups(const uint8_t* data, size_t size);

// The stored bytes of one image, PNG or DIB as the file has them, with the image's own size
// (from its bitmap or PNG header; the directory's where the header is unreadable).
struct TStoredImage {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
    TIconImageFormat format = TIconImageFormat::Dib;
    uint32_t width = 0;
    uint32_t height = 0;
};
TStoredImage StoredImage(const uint8_t* data, const TGroupImage& image);

// The largest image of a group (most pixels, then most bits per pixel, then the later one),
// as stored; an empty group gives an image of size 0.
TStoredImage LargestImage(const uint8_t* data, const TIconGroup& group);

// The distinct image widths of a group, smallest first.
std::vector<uint32_t> GroupSizes(const uint8_t* data, const TIconGroup& group);

// One .ico file holding every image of the group, each image's bytes exactly as stored and
// only the directory written anew. Throws EInvalidGraphic for a group without images.
std::vector<uint8_t> WriteIconGroupFile(const uint8_t* data, const TIconGroup& group);
