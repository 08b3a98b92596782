#pragma once
// The logical screen descriptor and the global colour map.
#include <cstdint>

#include "gif/codec/GifColorMap.h"
#include "gif/codec/GifItem.h"

// As stored in the file (7 bytes, little-endian).
struct TGIFLogicalScreenDescriptor {
    uint16_t ScreenWidth = 0;
    uint16_t ScreenHeight = 0;
    uint8_t PackedFields = 0;
    uint8_t BackgroundColorIndex = 0;
    uint8_t AspectRatio = 0;
};

class TGIFHeader : public TGIFItem {
public:
    using TGIFItem::TGIFItem;

    TGIFLogicalScreenDescriptor Descriptor;
    TGIFGlobalColorMap ColorMap;

    int Width() const { return Descriptor.ScreenWidth; }
    int Height() const { return Descriptor.ScreenHeight; }
    // Throw "Image width/height too small for contained frames" when a frame would stick out.
    void SetWidth(int width);
    void SetHeight(int height);
    // Enlarges the screen to hold a frame reaching right x bottom; a screen that was not 0 in
    // that direction warns that it was too small and that the frame exceeds it.
    void ExpandToFrame(int right, int bottom);
    void Clear();

    // The packed byte as written: global table flag and sort flag from the global map, colour
    // resolution and table size from the largest depth of all the picture's maps.
    uint8_t PackedFieldsForSaving() const;
    // The signature with its version, the screen descriptor and the global colour table.
    void SaveToStream(TStream& stream) const override;
    // Reads the signature, the screen descriptor and the global colour table.
    void LoadFromStream(TStream& stream);
};
