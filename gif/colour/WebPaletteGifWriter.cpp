#include "gif/colour/WebPaletteGifWriter.h"

#include <memory>
#include <stdexcept>

#include "gif/colour/ColorLookup.h"
#include "gif/colour/WebPaletteRow.h"

namespace {

// The colour table an 8-bit reduction gives its frame: the web palette, then black up to 256.
std::vector<TGIFColor> WebColorTable() {
    std::vector<TGIFColor> colors = TNetscapeColorLookup::Palette();
    colors.resize(256);
    return colors;
}

}  // namespace

TWebPaletteGifWriter::TWebPaletteGifWriter(TStream& out, int width, int height)
    : out_(out), writer_(out), indices_(static_cast<size_t>(width > 0 ? width : 0)) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("a GIF frame needs pixels");
    auto frame = std::make_unique<TGIFSubImage>(&image_);
    frame->Descriptor.Width = static_cast<uint16_t>(width);
    frame->Descriptor.Height = static_cast<uint16_t>(height);
    image_.Header.ExpandToFrame(width, height);
    const std::vector<TGIFColor> colors = WebColorTable();
    frame->ColorMap.Assign(colors.data(), static_cast<int>(colors.size()));
    const TGIFSubImage& added = image_.Images.Add(std::move(frame));

    image_.Header.SaveToStream(out_);
    added.Extensions.SaveToStream(out_);
    const int bits = added.SaveDescriptorToStream(out_);
    encoder_.Begin(writer_, bits, 1 << added.BitsPerPixel());
}

void TWebPaletteGifWriter::AddRow(const uint8_t* bgr) {
    const int width = static_cast<int>(indices_.size());
    MapRowToWebPalette(bgr, indices_.data(), width);
    encoder_.Add(indices_.data(), indices_.size());
    ++rows_;
}

void TWebPaletteGifWriter::Finish() {
    encoder_.Finish();
    writer_.Finish();
    TGIFTrailer(&image_).SaveToStream(out_);
}
