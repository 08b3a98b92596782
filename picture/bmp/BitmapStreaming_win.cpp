// Reading and writing a TBitmap as BMP bytes, form data and clipboard data.
#include <cstring>

#include "base/ByteReader.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/bmp/BmpReader.h"
#include "picture/bmp/BmpWriter.h"

namespace {

TBitmapImagePtr ImageFromBmp(const TBmpImage& bmp) {
    TBitmapImagePtr image = MakeBitmapImage(TImageKind{true, false, bmp.format}, static_cast<int>(bmp.width),
                                            static_cast<int>(bmp.height));
    std::memcpy(image->Bits(), bmp.bits.data(), bmp.bits.size());
    return image;
}

// The layout GetDIBits should deliver a device-dependent bitmap in: its own depth.
TDibFormat DeviceLayout(int bitCount) {
    switch (bitCount) {
    case 1: return DibFormatFor(pf1bit);
    case 4: return DibFormatFor(pf4bit);
    case 8: return DibFormatFor(pf8bit);
    case 16: return DibFormatFor(pf16bit);
    case 24: return DibFormatFor(pf24bit);
    default: return DibFormatFor(pf32bit);
    }
}

// The pixels of a device-dependent bitmap as a DIB of its own depth.
std::vector<uint8_t> DeviceBits(TBitmapImage& image, TDibFormat& format) {
    format = DeviceLayout(image.BitCount());
    std::vector<uint8_t> info = MakeBitmapInfo(format, image.width, image.height);
    info.resize(40 + 256 * 4);
    std::vector<uint8_t> bits(*DibImageBytes(image.width, image.height, format.bitCount));
    image.Deselect();
    TMemoryDC dc;
    if (!GetDIBits(dc.Get(), image.handle.Get(), 0, static_cast<UINT>(image.height), bits.data(),
                   reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS))
        throw EInvalidGraphic(ErrorText::InvalidBitmap);
    if (format.bitCount == 32) {
        // A device bitmap's fourth byte means nothing, but drawing (icons with alpha,
        // pictures with alpha) can leave values there that other programs read as
        // transparency: the file says "unused" and gets zeros.
        for (size_t i = 3; i < bits.size(); i += 4) bits[i] = 0;
    }
    if (format.compression == kBiBitFields) {
        // The system may deliver its own layout (5-5-5 on many 16-bit displays) whatever
        // masks were asked for; it says which in the masks it hands back.
        ByteReader masks(info.data() + 40, 12);
        format.redMask = masks.ReadU32LE();
        format.greenMask = masks.ReadU32LE();
        format.blueMask = masks.ReadU32LE();
    }
    if (format.bitCount <= 8) {
        // GetDIBits fills in the colours it mapped the pixels to.
        std::memcpy(format.colors.data(), info.data() + 40, format.colors.size() * 4);
        for (TRgbQuad& c : format.colors) c.reserved = 0;
    }
    return bits;
}

}  // namespace

void TBitmap::LoadFromStream(TStream& stream) {
    int64_t start = stream.Position();
    std::vector<uint8_t> bytes = stream.ReadRemaining();
    TBmpImage bmp = ReadBmp(bytes.data(), bytes.size());
    TBitmapImagePtr image = ImageFromBmp(bmp);
    if (bmp.runLengthEncoded) image->savedStream.assign(bytes.begin(), bytes.begin() + bmp.consumed);
    stream.SetPosition(start + static_cast<int64_t>(bmp.consumed));
    ReplaceImage(std::move(image));
    SetPaletteModified(true);
    Changed();
}

void TBitmap::SaveToStream(TStream& stream) const {
    TBitmapImage& image = *image_;
    if (!image.handle) return;
    if (!image.savedStream.empty()) {
        stream.WriteBuffer(image.savedStream.data(), image.savedStream.size());
        return;
    }
    std::vector<uint8_t> file;
    if (image.isDib) {
        size_t bytes = *DibImageBytes(image.width, image.height, image.format.bitCount);
        file = WriteBmp(image.format, image.width, image.height, image.Bits(), bytes);
    } else {
        TDibFormat format;
        std::vector<uint8_t> bits = DeviceBits(image, format);
        file = WriteBmp(format, image.width, image.height, bits.data(), bits.size());
    }
    stream.WriteBuffer(file.data(), file.size());
}

void TBitmap::WriteData(TStream& stream) const {
    TMemoryStream body;
    SaveToStream(body);
    std::vector<uint8_t> size;
    PutU32LE(size, static_cast<uint32_t>(body.Size()));
    stream.WriteBuffer(size.data(), size.size());
    stream.WriteBuffer(body.Memory(), body.Bytes().size());
}

void TBitmap::ReadData(TStream& stream) {
    uint8_t sizeBytes[4];
    stream.ReadBuffer(sizeBytes, 4);
    uint32_t size = ByteReader(sizeBytes, 4).ReadU32LE();
    if (size == 0) {
        Assign(nullptr);
        return;
    }
    if (size > stream.Remaining()) throw EReadError(ErrorText::StreamRead);
    std::vector<uint8_t> body(size);
    stream.ReadBuffer(body.data(), size);
    TMemoryStream memory(std::move(body));
    LoadFromStream(memory);
}

void TBitmap::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) const {
    format = CF_BITMAP;
    image_->Deselect();
    data = CopyImage(image_->handle.Get(), IMAGE_BITMAP, 0, 0, 0);
    HPALETTE own = Palette();
    palette = own ? CreatePaletteFromTable(PaletteColors(own)) : nullptr;
}

void TBitmap::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) {
    if (format == CF_DIB && data) {
        const void* memory = GlobalLock(data);
        if (!memory) throw EInvalidGraphic(ErrorText::InvalidBitmap);
        std::vector<uint8_t> packed(static_cast<const uint8_t*>(memory),
                                    static_cast<const uint8_t*>(memory) + GlobalSize(data));
        GlobalUnlock(data);
        ReplaceImage(ImageFromBmp(ReadPackedDib(packed.data(), packed.size())));
    } else if (format == CF_BITMAP && data) {
        HBITMAP copy = static_cast<HBITMAP>(CopyImage(data, IMAGE_BITMAP, 0, 0, 0));
        if (!copy) throw EInvalidGraphic(ErrorText::InvalidBitmap);
        ReplaceImage(AdoptBitmapHandle(copy));
        if (palette) image_->palette.Reset(CreatePaletteFromTable(PaletteColors(palette)));
    } else {
        TGraphic::LoadFromClipboardFormat(format, data, palette);
    }
    Changed();
}
