#include "icowriter/IconWriter_win.h"

#include <algorithm>
#include <cstdlib>

#include "base/Exceptions.h"
#include "base/FileStream.h"
#include "picture/ico/Icon_win.h"
#include "toolkit/GdiGuards_win.h"

namespace {

[[noreturn]] void ThrowInvalidBitmap() { throw EInvalidGraphic(ErrorText::InvalidBitmap); }

// The colour image and the mask of an icon, deleted with this object (GetIconInfo hands out
// new bitmaps).
struct TIconBitmaps {
    explicit TIconBitmaps(HICON icon) {
        ICONINFO info{};
        if (!icon || !GetIconInfo(icon, &info)) ThrowInvalidBitmap();
        mask.Reset(info.hbmMask);
        colour.Reset(info.hbmColor);
    }
    TBitmapHandle mask;
    TBitmapHandle colour;
};

// The mask and the colour image describe the same pixels; an icon whose parts disagree
// would be written as a file that no reader takes apart the same way.
void RequireMatchingSizes(const std::vector<uint8_t>& maskHeader, const std::vector<uint8_t>& colourHeader) {
    TBitmapInfoHeader mask = LoadBitmapInfoHeader(maskHeader.data());
    TBitmapInfoHeader colour = LoadBitmapInfoHeader(colourHeader.data());
    if (mask.width != colour.width || std::abs(mask.height) != std::abs(colour.height)) ThrowInvalidBitmap();
}

}  // namespace

void TIconWriter::FillBitmapInfoHeader(HBITMAP bitmap, TBitmapInfoHeader& header, uint32_t colourCount) {
    uint8_t description[IconFile::SectionDescriptionSize] = {};
    int length = 0;
    if (bitmap && GetObjectType(bitmap) == OBJ_BITMAP) length = GetObjectW(bitmap, sizeof description, description);
    header = InfoHeaderFromDescription(description, length > 0 ? static_cast<size_t>(length) : 0, colourCount);
}

TDIBSizes TIconWriter::MeasureDIB(HBITMAP bitmap, uint32_t colourCount) {
    TBitmapInfoHeader header;
    FillBitmapInfoHeader(bitmap, header, colourCount);
    return MeasureDIBHeader(header);
}

bool TIconWriter::ReadDIBBits(HBITMAP bitmap, uint32_t colourCount, std::vector<uint8_t>& header,
                              std::vector<uint8_t>& pixels) {
    TBitmapInfoHeader info;
    FillBitmapInfoHeader(bitmap, info, colourCount);
    TDIBSizes sizes = MeasureDIBHeader(info);
    header.resize(std::max<size_t>(header.size(), sizes.headerAndTable));
    pixels.resize(std::max<size_t>(pixels.size(), sizes.pixels));
    TInfoHeaderBytes infoBytes = StoreBitmapInfoHeader(info);
    std::copy(infoBytes.begin(), infoBytes.end(), header.begin());

    TMemoryDC dc;  // compatible with the screen, no palette selected
    int lines = dc ? GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(std::abs(info.height)), pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(header.data()), DIB_RGB_COLORS)
                   : 0;
    // The written header must describe the rows behind it, whatever the call left in it.
    std::copy(infoBytes.begin(), infoBytes.end(), header.begin());
    return lines != 0;
}

TIconImageData TIconWriter::ReadIconImage(HICON icon, uint32_t colourCount) {
    TIconBitmaps bitmaps(icon);
    TDIBSizes maskSizes = MeasureDIB(bitmaps.mask.Get(), IconFile::MaskColours);
    // A monochrome icon has no colour image: refused here, before anything is written.
    TDIBSizes colourSizes = MeasureDIB(bitmaps.colour.Get(), colourCount);

    std::vector<uint8_t> maskHeader(maskSizes.headerAndTable);
    TIconImageData image;
    image.maskPixels.resize(maskSizes.pixels);
    image.colourHeader.resize(colourSizes.headerAndTable);
    image.colourPixels.resize(colourSizes.pixels);
    // An icon the system cannot deliver would otherwise come out as a black square.
    if (!ReadDIBBits(bitmaps.mask.Get(), IconFile::MaskColours, maskHeader, image.maskPixels)) ThrowInvalidBitmap();
    if (!ReadDIBBits(bitmaps.colour.Get(), colourCount, image.colourHeader, image.colourPixels))
        ThrowInvalidBitmap();
    RequireMatchingSizes(maskHeader, image.colourHeader);
    return image;
}

void TIconWriter::WriteIconStream(TStream& stream, HICON icon, uint32_t colourCount) {
    WriteIconImage(stream, ReadIconImage(icon, colourCount));
}

void TIconWriter::SaveIcon(TIcon& icon, const std::string& fileName, uint32_t colourCount) {
    TIconImageData image = ReadIconImage(icon.Handle(), colourCount);
    SaveFileSafely(fileName, [&image](TStream& stream) { WriteIconImage(stream, image); });
}

void TIconWriter::SaveIconAs256Colors(TIcon& icon, const std::string& fileName) const {
    SaveIcon(icon, fileName, IconFile::PaletteColours);
}

void TIconWriter::SaveIconAsTrueColor(TIcon& icon, const std::string& fileName) const {
    SaveIcon(icon, fileName, IconFile::HighColours);
}

void TIconWriter::SaveBitmapAsIcon(TBitmap& bitmap, const std::string& fileName, uint32_t colourCount) const {
    std::unique_ptr<TIcon> icon = IconFromBitmap(bitmap);
    SaveIcon(*icon, fileName, colourCount);
}

void TIconWriter::SaveBitmapAs256ColorIcon(TBitmap& bitmap, const std::string& fileName) const {
    SaveBitmapAsIcon(bitmap, fileName, IconFile::PaletteColours);
}

void TIconWriter::SaveBitmapAsTrueColorIcon(TBitmap& bitmap, const std::string& fileName) const {
    SaveBitmapAsIcon(bitmap, fileName, IconFile::HighColours);
}
