#pragma once
// The GIF picture as a graphic of the picture container: made from a bitmap, saved as a
// GIF file, loaded, drawn. The data (header, frames, settings) is TGIFImageModel's.
#include <windows.h>

#include "gif/codec/GifImageModel.h"
#include "gif/show/GifDisplayState_win.h"
#include "picture/graphic/Graphic_win.h"

class TBitmap;

class TGIFImage : public TGraphic, public TGIFImageModel {
public:
    TERVANE_GRAPHIC_CLASS(TGIFImage)

    TGIFImage();
    ~TGIFImage() override;

    // A bitmap: the picture keeps one frame made from it. Another GIF picture: a copy of it.
    // nullptr: the picture becomes empty.
    void Assign(const TGraphic* source) override;
    // A bitmap receives the picture's first frame.
    void AssignTo(TGraphic* target) const override;
    void Draw(TCanvas& canvas, const RECT& rect) override;
    bool Empty() const override { return TGIFImageModel::Empty(); }
    int Width() const override { return TGIFImageModel::Width(); }
    int Height() const override { return TGIFImageModel::Height(); }
    // The logical screen; smaller than a frame raises "Image width/height too small ...".
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;

    // Makes the picture one frame holding the bitmap: 1, 4 and 8-bit bitmaps as they are,
    // others reduced with ReductionMethod, DitherKind and QuantizeBits.
    void AssignFromBitmap(const TBitmap& bitmap);
    // Fills a frame from a bitmap (the frame is not added to the picture).
    void ImportBitmapFrame(TGIFSubImage& frame, const TBitmap& bitmap);

    // Showing the picture: picture bitmap, palette, painters and painter hooks.
    TGIFDisplayState& Display() const { return *display_; }
    // Stops every painter of the picture and waits for them.
    void StopPainters() override;
    // The picture's palette: the global colours, else the first frame's.
    HPALETTE Palette() const override;

protected:
    void FramesChanged() override;

private:
    bool ImportTrueColorDib(TGIFSubImage& frame, const TBitmap& bitmap);

    std::unique_ptr<TGIFDisplayState> display_ = std::make_unique<TGIFDisplayState>();
};

// The clipboard format "GIF Image" (0 before InitializeGifUnit).
extern UINT CF_GIF;
// True when the screen shows at most 8 bits per pixel (bits per pixel times planes below 9).
extern bool GIFAutoDither;

// Unit start-up: registers TGIFImage for "GIF" ("GIF Image") and the clipboard format, decides
// the automatic-dither flag, creates the placeholder thread. Shutdown undoes it.
void InitializeGifUnit();
void FinalizeGifUnit();
