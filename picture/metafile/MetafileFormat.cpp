#include "picture/metafile/MetafileFormat.h"

#include "base/ByteReader.h"
#include "base/Exceptions.h"

namespace {

constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmrEof = 14;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableSize = 22;
constexpr size_t kWmfHeaderSize = 18;

[[noreturn]] void Invalid() { throw EInvalidGraphic(ErrorText::InvalidMetafile); }

void ReadEnhanced(const uint8_t* data, size_t size, TMetafileInfo& info) {
    const char* invalid = ErrorText::InvalidMetafile;
    ByteReader reader(data, size);
    reader.ReadU32LE<EInvalidGraphic>(invalid);  // record type, checked by the caller
    uint32_t headerSize = reader.ReadU32LE<EInvalidGraphic>(invalid);
    reader.Skip<EInvalidGraphic>(16, invalid);  // bounds in device units
    info.left = reader.ReadI32LE<EInvalidGraphic>(invalid);
    info.top = reader.ReadI32LE<EInvalidGraphic>(invalid);
    info.right = reader.ReadI32LE<EInvalidGraphic>(invalid);
    info.bottom = reader.ReadI32LE<EInvalidGraphic>(invalid);
    if (reader.ReadU32LE<EInvalidGraphic>(invalid) != kEmfSignature) Invalid();
    if (headerSize < 88 || headerSize % 4 != 0 || headerSize > size) Invalid();
    // Walk the records to the end-of-file record.
    size_t pos = 0;
    for (;;) {
        ByteReader record(data + pos, size - pos);
        uint32_t type = record.ReadU32LE<EInvalidGraphic>(invalid);
        uint32_t length = record.ReadU32LE<EInvalidGraphic>(invalid);
        if (length < 8 || length % 4 != 0 || length > size - pos) Invalid();
        pos += length;
        if (type == kEmrEof) break;
    }
    info.kind = TMetafileKind::Enhanced;
    info.offset = 0;
    info.length = pos;
}

void ReadWindows(const uint8_t* data, size_t size, size_t offset, TMetafileInfo& info) {
    const char* invalid = ErrorText::InvalidMetafile;
    ByteReader reader(data + offset, size - offset);
    uint16_t type = reader.ReadU16LE<EInvalidGraphic>(invalid);
    uint16_t headerWords = reader.ReadU16LE<EInvalidGraphic>(invalid);
    reader.Skip<EInvalidGraphic>(kWmfHeaderSize - 4, invalid);
    if ((type != 1 && type != 2) || headerWords != kWmfHeaderSize / 2) Invalid();
    for (;;) {
        uint32_t words = reader.ReadU32LE<EInvalidGraphic>(invalid);
        uint16_t function = reader.ReadU16LE<EInvalidGraphic>(invalid);
        if (words < 3 || words - 3 > reader.Remaining() / 2) Invalid();
        reader.Skip<EInvalidGraphic>((words - 3) * size_t{2}, invalid);
        if (function == 0) break;
    }
    info.offset = offset;
    info.length = reader.Position();
}

}  // namespace

TMetafileInfo ReadMetafileInfo(const uint8_t* data, size_t size) {
    const char* invalid = ErrorText::InvalidMetafile;
    TMetafileInfo info;
    ByteReader reader(data, size);
    uint32_t first = reader.ReadU32LE<EInvalidGraphic>(invalid);
    if (first == kEmrHeader) {
        ReadEnhanced(data, size, info);
        return info;
    }
    if (first == kPlaceableKey) {
        reader.ReadU16LE<EInvalidGraphic>(invalid);  // handle
        info.left = static_cast<int16_t>(reader.ReadU16LE<EInvalidGraphic>(invalid));
        info.top = static_cast<int16_t>(reader.ReadU16LE<EInvalidGraphic>(invalid));
        info.right = static_cast<int16_t>(reader.ReadU16LE<EInvalidGraphic>(invalid));
        info.bottom = static_cast<int16_t>(reader.ReadU16LE<EInvalidGraphic>(invalid));
        info.unitsPerInch = reader.ReadU16LE<EInvalidGraphic>(invalid);
        reader.Skip<EInvalidGraphic>(6, invalid);  // reserved and checksum
        if (info.unitsPerInch == 0) Invalid();
        ReadWindows(data, size, kPlaceableSize, info);
        info.kind = TMetafileKind::Placeable;
        return info;
    }
    ReadWindows(data, size, 0, info);
    info.kind = TMetafileKind::Plain;
    return info;
}
