// Filling a frame from a bitmap of 1, 4, 8 or 24 bits per pixel.
#include <cstdlib>

#include "base/Exceptions.h"
#include "gif/codec/GifImageModel.h"
#include "gif/codec/GifSubImage.h"

namespace {

constexpr int ProgressRows = 32;

// The colours most recently met in a 24-bit bitmap, newest last; searched backwards from the
// last hit so that runs of a few colours cost one or two compares a pixel.
class TColorRing {
public:
    // Index in the map of the colour; adds it to the map when it is new.
    int IndexOf(TGIFColor color, TGIFColorMap& map) {
        for (int n = 0; n < Size; ++n) {
            int slot = (last_ - n + Size) % Size;
            if (entries_[slot].valid && entries_[slot].color == color) {
                last_ = slot;
                return entries_[slot].index;
            }
        }
        int index = map.IndexOf(color);
        if (index < 0) index = map.Add(color);
        last_ = newest_ = (newest_ + 1) % Size;
        entries_[newest_] = {color, index, true};
        return index;
    }

private:
    static constexpr int Size = 8;
    struct Entry {
        TGIFColor color;
        int index;
        bool valid;
    };
    Entry entries_[Size] = {};
    int last_ = Size - 1;
    int newest_ = Size - 1;
};

void ImportRow(const TGIFBitmapSource& source, const uint8_t* in, uint8_t* out, TColorRing& ring,
               TGIFColorMap& map) {
    const int width = source.Width;
    switch (source.BitsPerPixel) {
    case 8:
        std::copy(in, in + width, out);
        break;
    case 4:
        for (int x = 0; x < width; ++x) out[x] = (x & 1) ? (in[x >> 1] & 0x0F) : (in[x >> 1] >> 4);
        break;
    case 1:
        for (int x = 0; x < width; ++x) out[x] = (in[x >> 3] >> (7 - (x & 7))) & 1;
        break;
    default:  // 24 bits: blue, green, red
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = static_cast<uint8_t>(ring.IndexOf({in[2], in[1], in[0]}, map));
        break;
    }
}

// The map entry closest to a colour, the first of equals.
int NearestIndex(const TGIFColorMap& map, TGIFColor color) {
    int best = -1, bestDistance = 1 << 30;
    for (int i = 0; i < map.Count(); ++i) {
        const TGIFColor& c = map[i];
        int d = std::abs(c.Red - color.Red) + std::abs(c.Green - color.Green) + std::abs(c.Blue - color.Blue);
        if (d < bestDistance) best = i, bestDistance = d;
    }
    return best;
}

}  // namespace

void TGIFSubImage::ImportBitmap(const TGIFBitmapSource& source) {
    Clear();
    if (source.Width <= 0 || source.Height <= 0) return;
    const int bpp = source.BitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) throw GIFException(ErrorText::GifUnsupportedPixelFormat);
    SetBounds(0, 0, source.Width, source.Height);
    if (bpp != 24) ColorMap.Assign(source.Colors.data(), static_cast<int>(source.Colors.size()));

    TColorRing ring;
    for (int y = 0; y < source.Height; ++y) {
        ImportRow(source, source.Row(y), ScanLine(y), ring, ColorMap);
        if (Image() && y % ProgressRows == 0)
            Image()->Progress(TGIFProgressStage::Running, y * 100 / source.Height, GifProgressText::Converting);
    }

    if (source.Transparent) {
        int index = NearestIndex(ColorMap, source.TransparentColor);
        if (index >= 0) {
            auto control = std::make_unique<TGIFGraphicControlExtension>(Image(), this);
            control->SetTransparent(true);
            control->TransparentColorIndex = static_cast<uint8_t>(index);
            GraphicControlExtension = control.get();
            Extensions.Add(std::move(control));
            Transparent = true;
        }
    }
}
