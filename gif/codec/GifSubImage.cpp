#include "gif/codec/GifSubImage.h"

#include "base/ByteReader.h"
#include "base/Exceptions.h"
#include "gif/codec/GifImageModel.h"
#include "gif/codec/GifLzwEncoder.h"
#include "gif/codec/GifRleEncoder.h"
#include "gif/codec/GifStream.h"

TGIFSubImage::TGIFSubImage(TGIFImageModel* image) : TGIFItem(image), Extensions(image) {}

void TGIFSubImage::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != Width() || height != Height();
    Descriptor.Left = static_cast<uint16_t>(left);
    Descriptor.Top = static_cast<uint16_t>(top);
    Descriptor.Width = static_cast<uint16_t>(width);
    Descriptor.Height = static_cast<uint16_t>(height);
    if (resized) {
        Data.assign(static_cast<size_t>(Width()) * Height(), 0);
        FreeCache();
    }
    if (Image()) Image()->Header.ExpandToFrame(left + width, top + height);
}

void TGIFSubImage::SetInterlaced(bool on) {
    Descriptor.PackedFields =
        static_cast<uint8_t>(on ? (Descriptor.PackedFields | InterlaceFlag) : (Descriptor.PackedFields & ~InterlaceFlag));
}

const TGIFColorMap& TGIFSubImage::ActiveColorMap() const {
    if (ColorMap.Empty() && Image()) return Image()->Header.ColorMap;
    return ColorMap;
}

int TGIFSubImage::BitsPerPixel() const {
    if (!ColorMap.Empty()) return ColorMap.BitsPerPixel();
    return Image() ? Image()->BitsPerPixel() : 0;
}

void TGIFSubImage::Clear() {
    Descriptor = TGIFImageDescriptor{};
    ColorMap.Clear();
    Extensions.Clear();
    GraphicControlExtension = nullptr;
    Data.clear();
    Data.shrink_to_fit();
    Transparent = false;
    FreeCache();
}

TGIFVersion TGIFSubImage::Version() const {
    return ColorMap.Sorted || !Extensions.Empty() ? TGIFVersion::V89a : TGIFVersion::V87a;
}

uint8_t TGIFSubImage::PackedFieldsForSaving() const {
    // The interlace bit always stays as the frame has it, since the pixels are written in
    // that order; a cleared bit over interlaced rows would scramble the picture.
    const uint8_t interlace = Descriptor.PackedFields & InterlaceFlag;
    if (!ColorMap.Empty())
        return static_cast<uint8_t>(0x80 | interlace | (ColorMap.Sorted ? 0x20 : 0) | (ColorMap.BitsPerPixel() - 1));
    return static_cast<uint8_t>(Descriptor.PackedFields & ~(0x80 | 0x20 | 0x07));
}

int TGIFSubImage::SaveDescriptorToStream(TStream& stream) const {
    std::vector<uint8_t> head;
    PutU8(head, ImageSeparator);
    PutU16LE(head, Descriptor.Left);
    PutU16LE(head, Descriptor.Top);
    PutU16LE(head, Descriptor.Width);
    PutU16LE(head, Descriptor.Height);
    PutU8(head, PackedFieldsForSaving());
    stream.WriteBuffer(head.data(), head.size());
    ColorMap.SaveToStream(stream);

    const int bits = std::max(BitsPerPixel(), 2);
    const uint8_t minimumCodeSize = static_cast<uint8_t>(bits);
    stream.WriteBuffer(&minimumCodeSize, 1);
    return bits;
}

void TGIFSubImage::SaveToStream(TStream& stream) const {
    Extensions.SaveToStream(stream);
    if (Empty()) return;
    // Pixel data that does not match the descriptor would be read past its end.
    if (Data.size() != static_cast<size_t>(Width()) * static_cast<size_t>(Height()))
        throw GIFException(ErrorText::GifInvalidDimensions);
    const int bits = SaveDescriptorToStream(stream);
    TGIFWriter writer(stream);
    std::unique_ptr<TGIFEncoder> encoder;
    if (Image() && Image()->CodingMethod == GifCoding::RunLength)
        encoder = std::make_unique<TRLEEncoder>();
    else
        encoder = std::make_unique<TLZWEncoder>();
    encoder->Encode(writer, Data.data(), Width(), Height(), Interlaced(), bits, 1 << BitsPerPixel());
    writer.Finish();
}
