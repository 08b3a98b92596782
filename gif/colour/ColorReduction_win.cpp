#include "gif/colour/ColorReduction_win.h"

#include "picture/bmp/BitmapImage_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "toolkit/GdiGuards_win.h"

TDIBReader::TDIBReader(TBitmap& bitmap, TPixelFormat pixelFormat) : TDIB(bitmap, pixelFormat) {
    if (bitmap.PixelFormat() != pixelFormat) bitmap.SetPixelFormat(pixelFormat);
}

TRgbRows TDIBReader::Rows() {
    TBitmap* bitmap = &Bitmap;
    return {bitmap->Width(), bitmap->Height(),
            [bitmap](int row) { return static_cast<const uint8_t*>(bitmap->ScanLine(row)); }};
}

std::vector<TGIFColor> GifColorsOfTable(const std::vector<TRgbQuad>& table) {
    std::vector<TGIFColor> colors;
    for (size_t i = 0; i < table.size() && i < 256; ++i) colors.push_back({table[i].red, table[i].green, table[i].blue});
    return colors;
}

std::vector<TGIFColor> GifColorsOfPalette(HPALETTE palette) { return GifColorsOfTable(PaletteColors(palette)); }

std::vector<TGIFColor> TWinSystemPalettes::StockPalette() {
    return GifColorsOfPalette(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
}

std::vector<TGIFColor> TWinSystemPalettes::HalftonePalette() {
    TWindowDC screen;
    TPaletteHandle halftone(CreateHalftonePalette(screen.Get()));
    return GifColorsOfPalette(halftone.Get());
}

std::unique_ptr<TBitmap> ReduceColors(TBitmap& source, int method, int ditherKind, HPALETTE palette,
                                      int quantizeBits) {
    auto result = std::make_unique<TBitmap>();
    if (method == GifReduction::KeepColors) {
        result->Assign(&source);
        result->SetPixelFormat(pf24bit);
        return result;
    }
    if (static_cast<long long>(source.Width()) * source.Height() > LargeBitmapPixels) result->SetPixelFormat(pf1bit);
    TDIBReader reader(source, pf24bit);
    TWinSystemPalettes system;
    const std::vector<TGIFColor> given = GifColorsOfPalette(palette);
    std::unique_ptr<TDIBWriter> writer =
        ReduceColorRows(reader.Rows(), method, ditherKind, palette ? &given : nullptr, quantizeBits, &system);
    if (!writer) return result;
    TMemoryStream file(writer->ReleaseBitmapFile());
    writer.reset();
    result->LoadFromStream(file);
    return result;
}
