#pragma once
// A GIF picture as data: header, frames and settings, independent of the platform. The
// Windows graphic TGIFImage builds on it and adds drawing, bitmaps and painters.
#include <cstdint>
#include <functional>
#include <string>

#include "gif/codec/GifBitmapSource.h"
#include "gif/codec/GifHeader.h"
#include "gif/codec/GifItem.h"
#include "gif/codec/GifSubImage.h"

enum class TGIFPainterPriority { Idle, Lowest, Lower, Normal, Higher, Highest, TimeCritical };

// Colour reduction methods: how a bitmap of more than 8 bits per pixel becomes 8 bits.
namespace GifReduction {
inline constexpr int KeepColors = 0;      // no reduction; the map holds the colours found
inline constexpr int StockPalette = 1;    // the system's 20-colour default palette
inline constexpr int HalftonePalette = 2; // the system's halftone palette for the screen
inline constexpr int FourGreys = 3;       // 0, 128, 192, 255
inline constexpr int Monochrome = 4;      // black and white
inline constexpr int Greys = 5;           // 256 greys
inline constexpr int WebPalette = 6;      // 216 colours, 6 levels a channel
inline constexpr int Octree = 7;          // 2^QuantizeBits quantised colours
inline constexpr int OctreeFramed = 8;    // 236 quantised colours inside the stock palette
inline constexpr int GivenPalette = 9;    // a copy of a given palette
}  // namespace GifReduction

namespace GifDither {
inline constexpr int Nearest = 0;
inline constexpr int FloydSteinberg = 1;
inline constexpr int Stucki = 2;
inline constexpr int Sierra = 3;
inline constexpr int JaJuNi = 4;
inline constexpr int SteveArche = 5;
inline constexpr int Burkes = 6;
}  // namespace GifDither

namespace GifCoding {
inline constexpr int Lzw = 0;
inline constexpr int RunLength = 1;
}  // namespace GifCoding

// PaintFlags bits.
namespace GifPaint {
inline constexpr uint32_t OwnThread = 0x0001;
inline constexpr uint32_t Transparent = 0x0002;
inline constexpr uint32_t Animate = 0x0004;
inline constexpr uint32_t Loop = 0x0008;
inline constexpr uint32_t LoopForever = 0x0010;
inline constexpr uint32_t ValidateCanvas = 0x0020;
inline constexpr uint32_t DrawOnTarget = 0x0040;
inline constexpr uint32_t ClearOnLoop = 0x0080;
inline constexpr uint32_t Tile = 0x0100;
inline constexpr uint32_t Dither = 0x0200;
inline constexpr uint32_t DitherOnPaletteScreen = 0x0400;
}  // namespace GifPaint

struct TGIFSettings {
    int ReductionMethod = GifReduction::WebPalette;
    int QuantizeBits = 8;
    int DitherKind = GifDither::Nearest;
    int CodingMethod = GifCoding::Lzw;
    uint32_t PaintFlags = 0x060F;
    TGIFPainterPriority PainterPriority = TGIFPainterPriority::Normal;
    int PlaybackSpeed = 100;
};

// Unit-wide defaults, copied into every picture when it is created.
extern TGIFSettings GIFDefaultSettings;

enum class TGIFProgressStage { Starting, Running, Ending };
using TGIFProgressEvent =
    std::function<void(TGIFProgressStage stage, int percentDone, const std::string& message)>;
using TGIFWarningEvent = std::function<void(const std::string& message)>;

// The texts the progress hook receives.
namespace GifProgressText {
inline constexpr const char* Converting = "Converting...";
inline constexpr const char* Saving = "Saving...";
inline constexpr const char* Loading = "Loading...";
inline constexpr const char* Rendering = "Rendering...";
inline constexpr const char* Copying = "Copying...";
}  // namespace GifProgressText

class TGIFImageList : public TGIFList<TGIFSubImage> {
public:
    using TGIFList<TGIFSubImage>::TGIFList;
};

class TGIFImageModel {
public:
    TGIFImageModel();
    virtual ~TGIFImageModel();
    TGIFImageModel(const TGIFImageModel&) = delete;
    TGIFImageModel& operator=(const TGIFImageModel&) = delete;

    TGIFHeader Header;
    TGIFImageList Images;

    // Settings (copied from GIFDefaultSettings at creation).
    int ReductionMethod;
    int QuantizeBits;
    int DitherKind;
    int CodingMethod;
    uint32_t PaintFlags;
    TGIFPainterPriority PainterPriority;
    int PlaybackSpeed;
    // A colour (0x00BBGGRR) or BackgroundColorUnset.
    static constexpr uint32_t BackgroundColorUnset = 0x1FFFFFFF;
    uint32_t BackgroundColor = BackgroundColorUnset;

    TGIFWarningEvent OnWarning;
    TGIFProgressEvent OnProgress;

    // The logical screen's size.
    int Width() const { return Header.Width(); }
    int Height() const { return Header.Height(); }
    bool Empty() const { return Images.Empty(); }
    // Largest depth over the global map and every frame's map.
    int BitsPerPixel() const;
    // The version a file of this picture needs; Unknown when there are no frames.
    TGIFVersion Version() const;

    // No frames, empty global map, 0 x 0 screen.
    void Clear();
    // The picture keeps only a new frame filled from the bitmap (Assign from a bitmap).
    TGIFSubImage& AssignBitmap(const TGIFBitmapSource& source);
    // Clears this picture and makes it a copy of source: header, background colour, settings,
    // warning hook and every frame (bounds, flags, pixels, colour map, extensions). Nothing is
    // encoded on the way, so a picture without frames or with damaged indices copies as it is.
    void CopyFrom(const TGIFImageModel& source);
    // Writes the whole file; throws "Unsupported GIF version" when there are no frames.
    void SaveToStream(TStream& stream) const;
    // Reads a whole file into this picture.
    void LoadFromStream(TStream& stream);

    void Warning(const std::string& message) const;
    void Progress(TGIFProgressStage stage, int percentDone, const char* message) const;

protected:
    // Called before the frames go away (the display side stops its painters).
    virtual void StopPainters() {}
    // Called when frames were added or removed (the display side drops its cached bitmap).
    virtual void FramesChanged() {}
};
