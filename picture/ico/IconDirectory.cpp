#include "picture/ico/IconDirectory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/ByteReader.h"
#include "base/Exceptions.h"
#include "picture/bmp/BitmapInfoHeader.h"
#include "picture/bmp/BmpBitFields.h"
#include "picture/bmp/DibHeader.h"

namespace {

[[noreturn]] void Invalid() { throw EInvalidGraphic(ErrorText::InvalidIcon); }

TIconDirEntry ReadEntry(ByteReader& reader) {
    const char* invalid = ErrorText::InvalidIcon;
    TIconDirEntry entry;
    entry.width = reader.ReadU8<EInvalidGraphic>(invalid);
    entry.height = reader.ReadU8<EInvalidGraphic>(invalid);
    entry.colorCount = reader.ReadU8<EInvalidGraphic>(invalid);
    entry.reserved = reader.ReadU8<EInvalidGraphic>(invalid);
    entry.planes = reader.ReadU16LE<EInvalidGraphic>(invalid);
    entry.bitCount = reader.ReadU16LE<EInvalidGraphic>(invalid);
    entry.bytesInRes = reader.ReadU32LE<EInvalidGraphic>(invalid);
    entry.imageOffset = reader.ReadU32LE<EInvalidGraphic>(invalid);
    return entry;
}

// A colour count of 0 means "more than a byte can say": unlimited.
uint64_t EffectiveColors(const TIconDirEntry& entry) {
    uint32_t word = entry.ColorWord();
    return word == 0 ? kUnlimitedColors : word;
}

// |d| no greater than the best's, and when positive no greater than the best's d.
bool NoWorse(int d, int bestD) {
    if (std::abs(d) > std::abs(bestD)) return false;
    return d <= 0 || d <= bestD;
}

std::vector<uint8_t> ReadRows(ByteReader& reader, uint32_t width, uint32_t height, uint16_t bitCount) {
    auto bytes = DibImageBytes(width, height, bitCount);
    if (!bytes || *bytes > reader.Remaining()) Invalid();
    const uint8_t* rows = reader.Skip<EInvalidGraphic>(*bytes, ErrorText::InvalidIcon);
    return std::vector<uint8_t>(rows, rows + *bytes);
}

// A 32-bit image whose top byte is no colour channel carries an alpha channel there.
bool HasAlphaByte(const TDibFormat& format) {
    if (format.bitCount != 32) return false;
    return format.compression == kBiRgb || ((format.redMask | format.greenMask | format.blueMask) >> 24) == 0;
}

// Whether any pixel of 32-bit rows has a non-zero alpha byte. One that has none has no alpha
// channel at all (its fourth bytes were left empty): the system draws it opaque.
bool AnyAlpha(const std::vector<uint8_t>& colorBits) {
    for (size_t at = 3; at < colorBits.size(); at += 4)
        if (colorBits[at] != 0) return true;
    return false;
}

// The mask rows. Many tools leave the mask out of an image with an alpha channel, or cut it
// short, since the alpha says everything: the rows the data lacks come from the alpha
// (0 transparent, anything else opaque), as the system's own icon loader has it; an image
// whose alpha is all zero is opaque.
std::vector<uint8_t> ReadMaskRows(ByteReader& reader, const TIconImage& image) {
    const uint32_t rowBytes = *DibRowBytes(image.width, 1);
    const size_t rowsHeld = reader.Remaining() / rowBytes;
    if (!HasAlphaByte(image.format) || rowsHeld >= image.height)
        return ReadRows(reader, image.width, image.height, 1);
    std::vector<uint8_t> mask(static_cast<size_t>(rowBytes) * image.height, 0);
    const uint8_t* held = reader.Skip<EInvalidGraphic>(rowsHeld * rowBytes, ErrorText::InvalidIcon);
    std::copy(held, held + rowsHeld * rowBytes, mask.begin());
    if (!AnyAlpha(image.colorBits)) return mask;
    for (size_t y = rowsHeld; y < image.height; ++y) {
        const uint8_t* pixel = image.colorBits.data() + y * image.width * 4;
        uint8_t* maskRow = mask.data() + y * rowBytes;
        for (uint32_t x = 0; x < image.width; ++x)
            if (pixel[x * 4 + 3] == 0) maskRow[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    return mask;
}

}  // namespace

TIconDirectory ReadIconDirectory(const uint8_t* data, size_t size) {
    ByteReader reader(data, size);
    const char* invalid = ErrorText::InvalidIcon;
    TIconDirectory directory;
    reader.ReadU16LE<EInvalidGraphic>(invalid);  // reserved
    directory.type = reader.ReadU16LE<EInvalidGraphic>(invalid);
    uint16_t count = reader.ReadU16LE<EInvalidGraphic>(invalid);
    if (directory.type == 0) return directory;
    if (directory.type != 1 || count == 0) Invalid();
    if (count > reader.Remaining() / kIconDirEntrySize) Invalid();
    directory.entries.reserve(count);
    for (uint16_t i = 0; i < count; ++i) directory.entries.push_back(ReadEntry(reader));
    return directory;
}

uint64_t DisplayColorLimit(int bitsTimesPlanes) {
    if (bitsTimesPlanes <= 8 && bitsTimesPlanes > 0) return uint64_t{1} << bitsTimesPlanes;
    return kUnlimitedColors;
}

size_t ChooseIconEntry(const std::vector<TIconDirEntry>& entries, int wantedWidth, int wantedHeight,
                       uint64_t colorLimit) {
    size_t best = 0;
    if (entries.empty()) return best;
    uint64_t bestColors = EffectiveColors(entries[0]);
    for (size_t i = 1; i < entries.size(); ++i) {
        const TIconDirEntry& entry = entries[i];
        uint64_t colors = EffectiveColors(entry);
        if (colors > colorLimit || colors < bestColors) continue;
        int dx = entry.Width() - wantedWidth, bestDx = entries[best].Width() - wantedWidth;
        int dy = entry.Height() - wantedHeight, bestDy = entries[best].Height() - wantedHeight;
        if (!NoWorse(dx, bestDx) || !NoWorse(dy, bestDy)) continue;
        best = i;
        bestColors = colors;
    }
    return best;
}

TIconImage ReadIconImage(const uint8_t* data, size_t size, const TIconDirEntry& entry) {
    if (entry.imageOffset >= size) Invalid();
    // The image ends where its size says, or at the end of the data if that comes first.
    size_t length = std::min<size_t>(entry.bytesInRes, size - entry.imageOffset);
    const uint8_t* start = data + entry.imageOffset;
    static const uint8_t kPngSignature[4] = {0x89, 'P', 'N', 'G'};
    if (length >= 4 && std::memcmp(start, kPngSignature, 4) == 0) Invalid();
    ByteReader reader(start, length);
    TDibHeader header = ReadDibHeader(reader, ErrorText::InvalidIcon, 2);
    if (header.compression != kBiRgb && header.compression != kBiBitFields) Invalid();
    if (header.topDown) Invalid();
    TIconImage image;
    image.format = header.format;
    image.width = header.width;
    image.height = header.height;
    image.colorBits = ReadRows(reader, image.width, image.height, header.bitCount);
    image.maskBits = ReadMaskRows(reader, image);
    NormalizeBitFields(image.format, image.colorBits, image.width, image.height);
    return image;
}

void PutIconDirectoryHeader(std::vector<uint8_t>& out, uint16_t imageCount) {
    PutU16LE(out, 0);  // reserved
    PutU16LE(out, 1);  // resource type: icon
    PutU16LE(out, imageCount);
}

void PutIconDirEntry(std::vector<uint8_t>& out, const TIconDirEntry& entry, uint32_t imageOffset) {
    PutU8(out, entry.width);
    PutU8(out, entry.height);
    PutU8(out, entry.colorCount);
    PutU8(out, entry.reserved);
    PutU16LE(out, entry.planes);
    PutU16LE(out, entry.bitCount);
    PutU32LE(out, entry.bytesInRes);
    PutU32LE(out, imageOffset);
}

void PutSingleIconDirectory(std::vector<uint8_t>& out, const TIconDirEntry& entry) {
    PutIconDirectoryHeader(out, 1);
    PutIconDirEntry(out, entry, entry.imageOffset);
}

std::vector<uint8_t> WriteIconFile(const TIconImage& image) {
    const TDibFormat& f = image.format;
    bool bitFields = f.compression == kBiBitFields;
    size_t tableEntries = f.bitCount <= 8 ? f.colors.size() : 0;
    size_t headerBytes = kInfoHeaderSize + (bitFields ? kColourMasksSize : 0) + tableEntries * 4;
    size_t dataBytes = headerBytes + image.colorBits.size() + image.maskBits.size();
    TIconDirEntry entry;
    entry.width = static_cast<uint8_t>(image.width);
    entry.height = static_cast<uint8_t>(image.height);
    entry.colorCount = static_cast<uint8_t>(tableEntries < 256 ? tableEntries : 0);
    entry.planes = 1;
    entry.bitCount = f.bitCount;
    entry.bytesInRes = static_cast<uint32_t>(dataBytes);
    entry.imageOffset = kSingleIconImageOffset;
    std::vector<uint8_t> out;
    PutSingleIconDirectory(out, entry);
    PutDibHeader(out, f, image.width, image.height * 2,
                 static_cast<uint32_t>(image.colorBits.size() + image.maskBits.size()),
                 static_cast<uint32_t>(tableEntries), tableEntries);
    PutBytes(out, image.colorBits.data(), image.colorBits.size());
    PutBytes(out, image.maskBits.data(), image.maskBits.size());
    return out;
}
