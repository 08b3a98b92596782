#include "gif/codec/GifExtensions.h"

#include <algorithm>
#include <cstring>

#include "base/ByteReader.h"
#include "base/Exceptions.h"
#include "gif/codec/GifSubImage.h"

namespace {

uint8_t ReadByteOr(TStream& stream, const char* error) {
    uint8_t value;
    if (stream.Read(&value, 1) != 1) throw GIFException(error);
    return value;
}

void WriteByte(TStream& stream, uint8_t value) { stream.WriteBuffer(&value, 1); }

// Skips data sub-blocks up to and including the terminator (or the end of the stream).
void SkipSubBlocks(TStream& stream) {
    std::vector<uint8_t> block;
    bool truncated = false;
    while (ReadGIFSubBlock(stream, block, truncated)) {
    }
}

}  // namespace

void WriteGIFSubBlocks(TStream& stream, const uint8_t* data, size_t size) {
    while (size > 0) {
        const uint8_t length = static_cast<uint8_t>(std::min<size_t>(size, 255));
        WriteByte(stream, length);
        stream.WriteBuffer(data, length);
        data += length;
        size -= length;
    }
}

bool ReadGIFSubBlock(TStream& stream, std::vector<uint8_t>& block, bool& truncated) {
    uint8_t size;
    block.clear();
    if (stream.Read(&size, 1) != 1 || size == 0) return false;
    block.resize(size);
    size_t got = stream.Read(block.data(), size);
    if (got < size) {
        truncated = true;
        block.resize(got);
    }
    return true;
}

// ---- TGIFExtension ----

void TGIFExtension::SaveToStream(TStream& stream) const {
    const uint8_t head[2] = {Introducer, Label()};
    stream.WriteBuffer(head, 2);
    SaveBody(stream);
}

void TGIFExtension::LoadFromStream(TStream& stream) {
    if (ReadByteOr(stream, ErrorText::GifPrematureEnd) != Introducer) {
        throw GIFException(ErrorText::GifInvalidIntroducer);
    }
    if (ReadByteOr(stream, ErrorText::GifPrematureEnd) != Label()) throw GIFException(ErrorText::GifExtensionMismatch);
    LoadBody(stream);
}

// ---- graphic control ----

void TGIFGraphicControlExtension::SetDisposal(int disposal) {
    PackedFields = static_cast<uint8_t>((PackedFields & ~0x1C) | ((disposal & 7) << 2));
}

void TGIFGraphicControlExtension::SetTransparent(bool on) {
    PackedFields = static_cast<uint8_t>(on ? (PackedFields | 1) : (PackedFields & ~1));
}

void TGIFGraphicControlExtension::SetTransparentColor(int index) {
    const TGIFSubImage* frame = SubImage();
    int limit = frame ? frame->ActiveColorMap().Count() : 0;
    if (index < 0 || index > 255 || (limit > 0 && index >= limit)) {
        Warning(ErrorText::GifInvalidColorIndex);
        index = 0;
    }
    TransparentColorIndex = static_cast<uint8_t>(index);
}

void TGIFGraphicControlExtension::SaveBody(TStream& stream) const {
    const uint8_t body[6] = {4, PackedFields, static_cast<uint8_t>(Delay), static_cast<uint8_t>(Delay >> 8),
                             TransparentColorIndex, 0};
    stream.WriteBuffer(body, sizeof body);
}

void TGIFGraphicControlExtension::LoadBody(TStream& stream) {
    uint8_t body[6] = {};
    if (stream.Read(body, sizeof body) != sizeof body) Warning(ErrorText::GifPrematureEnd);
    BlockSize = body[0];
    PackedFields = body[1];
    Delay = static_cast<uint16_t>(body[2] | (body[3] << 8));
    TransparentColorIndex = body[4];
    Terminator = body[5];
}

// ---- comment and plain text ----

void TGIFTextLinesExtension::SaveLines(TStream& stream) const {
    // An empty line has no bytes to write: a zero-length block would end the data early.
    for (const std::string& line : Lines)
        WriteGIFSubBlocks(stream, reinterpret_cast<const uint8_t*>(line.data()), line.size());
    WriteByte(stream, 0);
}

void TGIFTextLinesExtension::LoadLines(TStream& stream) {
    Lines.clear();
    std::vector<uint8_t> block;
    bool truncated = false;
    while (ReadGIFSubBlock(stream, block, truncated)) Lines.emplace_back(block.begin(), block.end());
    if (truncated) Warning(ErrorText::GifPrematureEnd);
}

void TGIFCommentExtension::SaveBody(TStream& stream) const { SaveLines(stream); }
void TGIFCommentExtension::LoadBody(TStream& stream) { LoadLines(stream); }

void TGIFTextExtension::SaveBody(TStream& stream) const {
    std::vector<uint8_t> head;
    PutU8(head, 12);
    PutU16LE(head, Left);
    PutU16LE(head, Top);
    PutU16LE(head, Width);
    PutU16LE(head, Height);
    PutBytes(head, &CellWidth, 1);
    PutBytes(head, &CellHeight, 1);
    PutBytes(head, &ForegroundColorIndex, 1);
    PutBytes(head, &BackgroundColorIndex, 1);
    stream.WriteBuffer(head.data(), head.size());
    SaveLines(stream);
}

void TGIFTextExtension::LoadBody(TStream& stream) {
    uint8_t head[13];
    if (stream.Read(head, sizeof head) != sizeof head) throw GIFException(ErrorText::GifPrematureEnd);
    ByteReader reader(head, sizeof head);
    BlockSize = reader.ReadU8();
    Left = reader.ReadU16LE();
    Top = reader.ReadU16LE();
    Width = reader.ReadU16LE();
    Height = reader.ReadU16LE();
    CellWidth = reader.ReadU8();
    CellHeight = reader.ReadU8();
    ForegroundColorIndex = reader.ReadU8();
    BackgroundColorIndex = reader.ReadU8();
    LoadLines(stream);
}

// ---- application ----

void TGIFApplicationExtension::SetIdentifier(const char (&text)[12]) {
    std::memcpy(Identifier.data(), text, Identifier.size());
}

void TGIFApplicationExtension::SaveBody(TStream& stream) const {
    WriteByte(stream, 11);
    stream.WriteBuffer(Identifier.data(), Identifier.size());
    SaveData(stream);
}

void TGIFApplicationExtension::LoadBody(TStream& stream) {
    const uint8_t size = ReadByteOr(stream, ErrorText::GifPrematureEnd);
    if (size < 11 && size != 10) throw GIFException(ErrorText::GifBadAppBlockSize);
    // A 10-byte identifier block is read as what it is, so the data after it stays in step.
    Identifier.fill(0);
    const size_t idBytes = std::min<size_t>(size, 11);
    if (stream.Read(Identifier.data(), idBytes) != idBytes) throw GIFException(ErrorText::GifPrematureEnd);
    if (size > 11) stream.Seek(size - 11, TSeekOrigin::Current);
    LoadData(stream);
}

void TGIFApplicationExtension::SaveData(TStream& stream) const { WriteByte(stream, 0); }
void TGIFApplicationExtension::LoadData(TStream& stream) { SkipSubBlocks(stream); }

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFImageModel* image, TGIFSubImage* frame)
    : TGIFApplicationExtension(image, frame) {
    SetIdentifier("NETSCAPE2.0");
}

void TGIFAppExtNSLoop::SaveData(TStream& stream) const {
    std::vector<uint8_t> data = {3, 1};
    PutU16LE(data, Loops);
    if (BufferSize != 0) {
        PutU8(data, 5);
        PutU8(data, 2);
        PutU32LE(data, BufferSize);
    }
    PutU8(data, 0);
    stream.WriteBuffer(data.data(), data.size());
}

void TGIFAppExtNSLoop::LoadData(TStream& stream) {
    std::vector<uint8_t> block;
    bool truncated = false;
    while (ReadGIFSubBlock(stream, block, truncated)) {
        if (block.empty()) continue;  // a length byte at the very end of the file
        const int kind = block[0] & 7;
        if (kind == 1) {
            if (block.size() < 3) throw GIFException(ErrorText::GifInvalidData);
            Loops = static_cast<uint16_t>(block[1] | (block[2] << 8));
        } else if (kind == 2) {
            if (block.size() < 5) throw GIFException(ErrorText::GifInvalidData);
            ByteReader reader(block.data() + 1, 4);
            BufferSize = reader.ReadU32LE();
        }
    }
    if (truncated) Warning(ErrorText::GifPrematureEnd);
}

void TGIFUnknownAppExtension::SaveData(TStream& stream) const {
    for (const TGIFBlock& block : Blocks) WriteGIFSubBlocks(stream, block.Data.data(), block.Data.size());
    WriteByte(stream, 0);
}

void TGIFUnknownAppExtension::LoadData(TStream& stream) {
    Blocks.clear();
    std::vector<uint8_t> block;
    bool truncated = false;
    while (ReadGIFSubBlock(stream, block, truncated)) Blocks.push_back(TGIFBlock{block});
    if (truncated) Warning(ErrorText::GifPrematureEnd);
}
