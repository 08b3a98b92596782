#include "gif/colour/ColorReduction.h"

#include <algorithm>

#include "gif/codec/GifImageModel.h"
#include "gif/colour/ColorQuantizer.h"
#include "gif/colour/Ditherers.h"
#include "gif/colour/WebPaletteRow.h"

namespace {

constexpr int OctreeFramedColors = 236;
constexpr int StockFrameHalf = 10;

std::vector<TGIFColor> Greys(std::initializer_list<int> levels) {
    std::vector<TGIFColor> colors;
    for (int v : levels) colors.push_back({static_cast<uint8_t>(v), static_cast<uint8_t>(v), static_cast<uint8_t>(v)});
    return colors;
}

std::vector<TGIFColor> GreyRamp() {
    std::vector<TGIFColor> colors(256);
    for (int i = 0; i < 256; ++i) colors[static_cast<size_t>(i)] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)};
    return colors;
}

std::vector<TGIFColor> Quantize(const TRgbRows& source, int colors) {
    TColorQuantizer quantizer(colors);
    for (int y = 0; y < source.Height; ++y) {
        const uint8_t* p = source.Row(y);
        for (int x = 0; x < source.Width; ++x, p += 3) quantizer.AddColor(p[2], p[1], p[0]);
    }
    return quantizer.ColorTable(colors);
}

// The quantised colours inside the first and last ten colours of the stock palette.
std::vector<TGIFColor> QuantizeFramed(const TRgbRows& source, TSystemPalettes* system) {
    std::vector<TGIFColor> stock = system ? system->StockPalette() : std::vector<TGIFColor>{};
    stock.resize(2 * StockFrameHalf);
    std::vector<TGIFColor> colors(stock.begin(), stock.begin() + StockFrameHalf);
    std::vector<TGIFColor> quantized = Quantize(source, OctreeFramedColors);
    colors.insert(colors.end(), quantized.begin(), quantized.end());
    colors.insert(colors.end(), stock.end() - StockFrameHalf, stock.end());
    return colors;
}

// The nearest web colour of every pixel, without error diffusion.
void MapToWebPalette(const TRgbRows& source, TDIBWriter& writer) {
    for (int y = 0; y < source.Height; ++y) MapRowToWebPalette(source.Row(y), writer.ScanLine(y), source.Width);
}

void DitherRows(const TRgbRows& source, TDitherEngine& ditherer, TDIBWriter& writer) {
    for (int y = 0; y < source.Height; ++y) {
        const uint8_t* in = source.Row(y);
        uint8_t* out = writer.ScanLine(y);
        for (int x = ditherer.Column; x >= 0 && x < source.Width; x = ditherer.Column) {
            const uint8_t* p = in + 3 * static_cast<size_t>(x);
            out[x] = static_cast<uint8_t>(ditherer.Dither(p[2], p[1], p[0]));
        }
        ditherer.NextLine();
    }
}

}  // namespace

std::vector<TGIFColor> ReductionPalette(int method, const TRgbRows& source, int quantizeBits,
                                        const std::vector<TGIFColor>* givenPalette, TSystemPalettes* system) {
    switch (method) {
    case GifReduction::StockPalette: return system ? system->StockPalette() : std::vector<TGIFColor>{};
    case GifReduction::HalftonePalette: return system ? system->HalftonePalette() : std::vector<TGIFColor>{};
    case GifReduction::FourGreys: return Greys({0, 128, 192, 255});
    case GifReduction::Monochrome: return Greys({0, 255});
    case GifReduction::Greys: return GreyRamp();
    case GifReduction::WebPalette: return TNetscapeColorLookup::Palette();
    case GifReduction::Octree: return Quantize(source, 1 << std::clamp(quantizeBits, 0, 8));
    case GifReduction::OctreeFramed: return QuantizeFramed(source, system);
    case GifReduction::GivenPalette: return givenPalette ? *givenPalette : std::vector<TGIFColor>{};
    default: return {};
    }
}

std::unique_ptr<TColorLookup> CreateColorLookup(int method, const std::vector<TGIFColor>& palette) {
    switch (method) {
    case GifReduction::Monochrome: return std::make_unique<TMonochromeLookup>();
    case GifReduction::Greys: return std::make_unique<TGrayScaleLookup>();
    case GifReduction::WebPalette: return std::make_unique<TNetscapeColorLookup>();
    default: return std::make_unique<TFastColorLookup>(palette);
    }
}

std::unique_ptr<TDIBWriter> ReduceColorRows(const TRgbRows& source, int method, int ditherKind,
                                            const std::vector<TGIFColor>* givenPalette, int quantizeBits,
                                            TSystemPalettes* system) {
    if (method < GifReduction::StockPalette || method > GifReduction::GivenPalette) return nullptr;
    const std::vector<TGIFColor> palette = ReductionPalette(method, source, quantizeBits, givenPalette, system);
    std::unique_ptr<TColorLookup> lookup = CreateColorLookup(method, palette);
    if (lookup->Colors == 0) return nullptr;
    std::unique_ptr<TDitherEngine> ditherer = CreateDitherer(ditherKind, source.Width, *lookup);
    if (!ditherer) return nullptr;
    auto writer = std::make_unique<TDIBWriter>(palette, source.Height, source.Width, 8);
    if (method == GifReduction::WebPalette && ditherKind == GifDither::Nearest)
        MapToWebPalette(source, *writer);
    else
        DitherRows(source, *ditherer, *writer);
    return writer;
}
