#pragma once
// One frame: its image descriptor, local colour map, extensions and pixel indices.
#include <cstdint>
#include <memory>
#include <vector>

#include "gif/codec/GifBitmapSource.h"
#include "gif/codec/GifColorMap.h"
#include "gif/codec/GifExtensions.h"
#include "gif/codec/GifItem.h"

// As stored in the file after the separator 0x2C.
struct TGIFImageDescriptor {
    uint16_t Left = 0;
    uint16_t Top = 0;
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint8_t PackedFields = 0;  // bit 7 local table, bit 6 interlace, bit 5 sort, bits 2-0 size
};

// What the display side keeps for a frame (its bitmap, mask, palette). Dropped whenever the
// frame's pixels or colours change.
class TGIFFrameCache {
public:
    virtual ~TGIFFrameCache() = default;
};

class TGIFSubImage : public TGIFItem {
public:
    static constexpr uint8_t ImageSeparator = 0x2C;
    static constexpr uint8_t InterlaceFlag = 0x40;

    explicit TGIFSubImage(TGIFImageModel* image);

    TGIFImageDescriptor Descriptor;
    TGIFLocalColorMap ColorMap;
    TGIFExtensionList Extensions;
    // Width x Height colour indices, rows top to bottom, no padding.
    std::vector<uint8_t> Data;
    bool Transparent = false;
    // The first graphic control extension among Extensions, if any (owned by Extensions).
    TGIFGraphicControlExtension* GraphicControlExtension = nullptr;
    std::unique_ptr<TGIFFrameCache> Cache;

    int Left() const { return Descriptor.Left; }
    int Top() const { return Descriptor.Top; }
    int Width() const { return Descriptor.Width; }
    int Height() const { return Descriptor.Height; }
    // Moves and sizes the frame (pixel data is resized, new pixels 0) and enlarges the
    // logical screen when the frame reaches beyond it.
    void SetBounds(int left, int top, int width, int height);
    bool Interlaced() const { return (Descriptor.PackedFields & InterlaceFlag) != 0; }
    void SetInterlaced(bool on);
    // True when the frame has no pixel data.
    bool Empty() const { return Data.empty(); }
    uint8_t* ScanLine(int row) { return Data.data() + static_cast<size_t>(row) * Width(); }
    const uint8_t* ScanLine(int row) const { return Data.data() + static_cast<size_t>(row) * Width(); }

    // How the frame leaves the screen for the next one: its first graphic control
    // extension's disposal, else 1 (do not dispose).
    int Disposal() const { return GraphicControlExtension ? GraphicControlExtension->Disposal() : 1; }
    // The local map when it has entries, else the picture's global map.
    const TGIFColorMap& ActiveColorMap() const;
    // Bits per pixel of the coded data: the local depth, else the picture's largest depth.
    int BitsPerPixel() const;

    void Clear();
    void FreeCache() { Cache.reset(); }
    // Fills the frame from a bitmap of 1, 4, 8 or 24 bits per pixel at (0, 0).
    void ImportBitmap(const TGIFBitmapSource& source);

    TGIFVersion Version() const override;
    // Extensions, image descriptor, local table and coded pixel data.
    void SaveToStream(TStream& stream) const override;
    // What comes before the coded pixels: descriptor, local map and minimum code size. The
    // code size (at least 2) is returned; the extensions are not written.
    int SaveDescriptorToStream(TStream& stream) const;
    uint8_t PackedFieldsForSaving() const;
    // Reads extensions, image descriptor, local colour table and pixel data.
    void LoadFromStream(TStream& stream);
};
