#include "gif/codec/GifHeader.h"

#include <algorithm>

#include "base/ByteReader.h"
#include "base/Exceptions.h"
#include "gif/codec/GifImageModel.h"

void TGIFHeader::SetWidth(int width) {
    for (const auto& frame : Image()->Images)
        if (frame->Left() + frame->Width() > width) throw GIFException(ErrorText::GifWidthTooSmall);
    Descriptor.ScreenWidth = static_cast<uint16_t>(width);
}

void TGIFHeader::SetHeight(int height) {
    for (const auto& frame : Image()->Images)
        if (frame->Top() + frame->Height() > height) throw GIFException(ErrorText::GifHeightTooSmall);
    Descriptor.ScreenHeight = static_cast<uint16_t>(height);
}

void TGIFHeader::ExpandToFrame(int right, int bottom) {
    bool tooSmall = false;
    if (right > Descriptor.ScreenWidth) {
        if (Descriptor.ScreenWidth != 0) {
            Warning(ErrorText::GifWidthTooSmall);
            tooSmall = true;
        }
        Descriptor.ScreenWidth = static_cast<uint16_t>(right);
    }
    if (bottom > Descriptor.ScreenHeight) {
        if (Descriptor.ScreenHeight != 0) {
            Warning(ErrorText::GifHeightTooSmall);
            tooSmall = true;
        }
        Descriptor.ScreenHeight = static_cast<uint16_t>(bottom);
    }
    if (tooSmall) Warning(ErrorText::GifExceedsScreen);
}

void TGIFHeader::Clear() {
    Descriptor = TGIFLogicalScreenDescriptor{};
    ColorMap.Clear();
}

uint8_t TGIFHeader::PackedFieldsForSaving() const {
    const int depth = Image()->BitsPerPixel();
    uint8_t packed = 0;
    if (!ColorMap.Empty()) {
        packed |= 0x80;
        if (ColorMap.Sorted) packed |= 0x08;
    }
    if (depth > 0) packed |= static_cast<uint8_t>(((depth - 1) << 4) | (depth - 1));
    return packed;
}

void TGIFHeader::SaveToStream(TStream& stream) const {
    const TGIFVersion version = Image()->Version();
    if (version == TGIFVersion::Unknown) throw GIFException(ErrorText::GifUnsupportedVersion);
    std::vector<uint8_t> bytes;
    PutBytes(bytes, version == TGIFVersion::V89a ? "GIF89a" : "GIF87a", 6);
    PutU16LE(bytes, Descriptor.ScreenWidth);
    PutU16LE(bytes, Descriptor.ScreenHeight);
    PutU8(bytes, PackedFieldsForSaving());
    PutU8(bytes, Descriptor.BackgroundColorIndex);
    PutU8(bytes, Descriptor.AspectRatio);
    stream.WriteBuffer(bytes.data(), bytes.size());
    ColorMap.SaveToStream(stream);
}
