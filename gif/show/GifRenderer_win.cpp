#include "gif/show/GifRenderer_win.h"

#include <memory>
#include <vector>

#include "base/Exceptions.h"
#include "gif/show/GifFrameRender.h"
#include "gif/show/GifPicture_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "toolkit/GdiGuards_win.h"

namespace {

class TGIFFrameRender : public TGIFFrameCache {
public:
    TBitmap bitmap;
    TBitmapHandle mask;
    TPaletteHandle palette;
};

std::unique_ptr<TGIFFrameRender> Render(const TGIFImage& image, const TGIFSubImage& frame) {
    const bool dither = GifDitherInEffect(image.PaintFlags, GIFAutoDither);
    image.TGIFImageModel::Progress(TGIFProgressStage::Starting, 0, GifProgressText::Rendering);
    TGifRenderedFrame rendered = RenderGifFrame(image, frame, dither);
    auto render = std::make_unique<TGIFFrameRender>();
    render->palette.Reset(CreateGifPalette(rendered.colors.data(), static_cast<int>(rendered.colors.size())));
    std::vector<TRgbQuad> table(256);
    for (size_t i = 0; i < rendered.colors.size() && i < table.size(); ++i)
        table[i] = TRgbQuad{rendered.colors[i].Blue, rendered.colors[i].Green, rendered.colors[i].Red, 0};
    TBitmap& bitmap = render->bitmap;
    bitmap.SetPixelFormat(pf8bit);
    bitmap.SetSize(rendered.width, rendered.height);
    bitmap.SetColorTable(table);
    if (!rendered.indices.empty())
        for (int y = 0; y < rendered.height; ++y)
            std::copy_n(rendered.indices.data() + static_cast<size_t>(y) * rendered.width, rendered.width,
                        static_cast<uint8_t*>(bitmap.ScanLine(y)));
    if (!rendered.mask.empty())
        render->mask.Reset(CreateBitmap(rendered.width, rendered.height, 1, 1, rendered.mask.data()));
    image.TGIFImageModel::Progress(TGIFProgressStage::Ending, 100, GifProgressText::Rendering);
    return render;
}

TGIFFrameRender& RenderOf(const TGIFImage& image, TGIFSubImage& frame) {
    if (auto* cached = dynamic_cast<TGIFFrameRender*>(frame.Cache.get())) return *cached;
    auto render = Render(image, frame);
    TGIFFrameRender& kept = *render;
    frame.Cache = std::move(render);
    return kept;
}

}  // namespace

HPALETTE CreateGifPalette(const TGIFColor* colors, int count) {
    if (count <= 0) return nullptr;
    std::vector<uint8_t> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(count));
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    for (int i = 0; i < count; ++i)
        logical->palPalEntry[i] = PALETTEENTRY{colors[i].Red, colors[i].Green, colors[i].Blue, PC_NOCOLLAPSE};
    return CreatePalette(logical);
}

TBitmap& GifFrameBitmap(const TGIFImage& image, TGIFSubImage& frame) { return RenderOf(image, frame).bitmap; }

HBITMAP GifFrameMask(const TGIFImage& image, TGIFSubImage& frame) { return RenderOf(image, frame).mask.Get(); }

HPALETTE GifFramePalette(const TGIFImage& image, TGIFSubImage& frame) { return RenderOf(image, frame).palette.Get(); }

HPALETTE CopyGifPalette(HPALETTE palette) {
    const UINT count = palette ? GetPaletteEntries(palette, 0, 0, nullptr) : 0;
    if (count == 0) return nullptr;
    std::vector<uint8_t> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * count);
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    GetPaletteEntries(palette, 0, count, logical->palPalEntry);
    return CreatePalette(logical);
}
