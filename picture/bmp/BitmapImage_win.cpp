#include "picture/bmp/BitmapImage_win.h"

#include <cstring>

#include "base/ByteReader.h"
#include "base/Exceptions.h"
#include "picture/bmp/BitmapCanvas_win.h"
#include "toolkit/ScreenDevice_win.h"

namespace {

[[noreturn]] void OutOfResources() { throw EOutOfResources(ErrorText::OutOfResources); }

void FillImage(TBitmapImage& image, COLORREF color) {
    TImageContext context(image);
    TBrushHandle brush(CreateSolidBrush(color));
    RECT all = {0, 0, image.width, image.height};
    FillRect(context.Get(), &all, brush.Get());
}

bool SameLayout(const TBitmapImage& a, const TBitmapImage& b) {
    return a.isDib && b.isDib && a.format == b.format;
}

// Same-layout DIB sections copy row by row, so indexes stay as they are even when a colour
// table holds a colour twice.
void CopyDibRows(const TBitmapImage& from, TBitmapImage& to) {
    uint32_t fromRow = *DibRowBytes(from.width, from.format.bitCount);
    uint32_t toRow = *DibRowBytes(to.width, to.format.bitCount);
    int rows = std::min(from.height, to.height);
    size_t usedBits = static_cast<size_t>(std::min(from.width, to.width)) * from.format.bitCount;
    size_t wholeBytes = usedBits / 8;
    unsigned tailBits = usedBits % 8;
    const uint8_t* source = from.Bits();
    uint8_t* target = to.Bits();
    for (int y = 0; y < rows; ++y) {  // y counts from the top; rows are stored bottom first
        const uint8_t* s = source + static_cast<size_t>(from.height - 1 - y) * fromRow;
        uint8_t* t = target + static_cast<size_t>(to.height - 1 - y) * toRow;
        std::memcpy(t, s, wholeBytes);
        if (tailBits) {
            uint8_t keep = static_cast<uint8_t>(0xFF >> tailBits);
            t[wholeBytes] = static_cast<uint8_t>((s[wholeBytes] & ~keep) | (t[wholeBytes] & keep));
        }
    }
}

}  // namespace

TBitmapImage::~TBitmapImage() { Deselect(); }

void TBitmapImage::Deselect() {
    if (selectedIn) selectedIn->FreeContext();
}

uint8_t* TBitmapImage::Bits() const {
    GdiFlush();
    return static_cast<uint8_t*>(bits);
}

int TBitmapImage::BitCount() const {
    if (isDib) return format.bitCount;
    if (monochrome) return 1;
    BITMAP info = {};
    if (handle && GetObjectW(handle.Get(), sizeof info, &info)) return info.bmBitsPixel * info.bmPlanes;
    return ScreenColorDepth();
}

std::vector<uint8_t> MakeBitmapInfo(const TDibFormat& format, int width, int height) {
    std::vector<uint8_t> info;
    uint32_t colors = format.bitCount <= 8 ? static_cast<uint32_t>(format.colors.size()) : 0;
    PutDibHeader(info, format, static_cast<uint32_t>(width), static_cast<uint32_t>(height), 0, colors, colors);
    return info;
}

TBitmapImagePtr MakeBitmapImage(const TImageKind& kind, int width, int height, COLORREF fill) {
    auto image = std::make_shared<TBitmapImage>();
    image->isDib = kind.dib;
    image->monochrome = !kind.dib && kind.monochrome;
    image->format = kind.format;
    if (image->isDib && image->format.bitCount <= 8 && image->format.colors.empty())
        image->format.colors = DefaultColorTable(image->format.bitCount);
    if (width <= 0 || height <= 0) return image;
    image->width = width;
    image->height = height;
    if (image->isDib) {
        std::vector<uint8_t> info = MakeBitmapInfo(image->format, width, height);
        image->handle.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                             DIB_RGB_COLORS, &image->bits, nullptr, 0));
    } else if (image->monochrome) {
        image->handle.Reset(CreateBitmap(width, height, 1, 1, nullptr));
    } else {
        image->handle.Reset(CreateScreenBitmap(width, height));
    }
    if (!image->handle) OutOfResources();
    FillImage(*image, fill);
    return image;
}

void CopyImagePixels(TBitmapImage& from, TBitmapImage& to) {
    if (!from.handle || !to.handle) return;
    if (SameLayout(from, to)) {
        CopyDibRows(from, to);
        return;
    }
    TImageContext source(from);
    TImageContext target(to);
    // Monochrome sources map 0 to black and 1 to white whatever the target.
    SetTextColor(target.Get(), RGB(0, 0, 0));
    SetBkColor(target.Get(), RGB(255, 255, 255));
    SetBkColor(source.Get(), RGB(255, 255, 255));
    BitBlt(target.Get(), 0, 0, std::min(from.width, to.width), std::min(from.height, to.height), source.Get(), 0,
           0, SRCCOPY);
}

TBitmapImagePtr CloneBitmapImage(TBitmapImage& source) {
    TBitmapImagePtr copy = MakeBitmapImage(source.Kind(), source.width, source.height);
    CopyImagePixels(source, *copy);
    if (source.palette) copy->palette.Reset(CreatePaletteFromTable(PaletteColors(source.palette.Get())));
    return copy;
}

TBitmapImagePtr AdoptBitmapHandle(HBITMAP handle) {
    auto image = std::make_shared<TBitmapImage>();
    if (!handle) return image;
    DIBSECTION section = {};
    int described = GetObjectW(handle, sizeof section, &section);
    if (!described) throw EInvalidGraphic(ErrorText::InvalidBitmap);
    image->handle.Reset(handle);
    image->width = section.dsBm.bmWidth;
    image->height = std::abs(section.dsBm.bmHeight);
    if (described >= static_cast<int>(sizeof(DIBSECTION)) && section.dsBm.bmBits) {
        image->isDib = true;
        image->bits = section.dsBm.bmBits;
        image->format.bitCount = section.dsBmih.biBitCount;
        image->format.compression = section.dsBmih.biCompression == BI_BITFIELDS ? kBiBitFields : kBiRgb;
        if (image->format.compression == kBiBitFields) {
            image->format.redMask = section.dsBitfields[0];
            image->format.greenMask = section.dsBitfields[1];
            image->format.blueMask = section.dsBitfields[2];
        }
        if (image->format.bitCount <= 8) {
            TMemoryDC dc;
            TSelection selection(dc.Get(), handle);
            RGBQUAD table[256];
            UINT count = GetDIBColorTable(dc.Get(), 0, 256, table);
            for (UINT i = 0; i < count; ++i)
                image->format.colors.push_back(TRgbQuad{table[i].rgbBlue, table[i].rgbGreen, table[i].rgbRed, 0});
        }
    } else {
        image->monochrome = section.dsBm.bmBitsPixel == 1 && section.dsBm.bmPlanes == 1;
    }
    return image;
}

std::vector<TRgbQuad> PaletteColors(HPALETTE palette) {
    std::vector<TRgbQuad> colors;
    if (!palette) return colors;
    std::vector<PALETTEENTRY> entries(GetPaletteEntries(palette, 0, 0, nullptr));
    if (entries.empty()) return colors;
    GetPaletteEntries(palette, 0, static_cast<UINT>(entries.size()), entries.data());
    for (const PALETTEENTRY& e : entries) colors.push_back(TRgbQuad{e.peBlue, e.peGreen, e.peRed, 0});
    return colors;
}

HPALETTE CreatePaletteFromTable(const std::vector<TRgbQuad>& colors) {
    if (colors.empty()) return nullptr;
    std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + colors.size() * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(buffer.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(colors.size());
    for (size_t i = 0; i < colors.size(); ++i)
        logical->palPalEntry[i] = PALETTEENTRY{colors[i].red, colors[i].green, colors[i].blue, 0};
    return CreatePalette(logical);
}

TImageContext::TImageContext(TBitmapImage& image)
    : dc_(), selection_(dc_.Get(), (image.Deselect(), image.handle.Get())), palette_(dc_.Get(), image.palette.Get()) {
    if (!dc_ || !selection_.Succeeded()) OutOfResources();
}
