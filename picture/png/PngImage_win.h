#pragma once
// The PNG picture: a PNG file's bytes and the picture with its transparency they decode to
// (at loading, so a damaged file is refused before it replaces anything), shared between
// copies. Drawn with its alpha over whatever lies beneath. Registered for the extension "png".
#include <windows.h>

#include <memory>
#include <vector>

#include "picture/graphic/Graphic_win.h"
#include "picture/png/AlphaPicture.h"
#include "toolkit/GdiGuards_win.h"

class TBitmap;

class TPNGImage : public TGraphic {
public:
    TERVANE_GRAPHIC_CLASS(TPNGImage)

    TPNGImage();
    ~TPNGImage() override;

    // Another PNG picture: share its picture. A bitmap: its pixels, opaque, to be encoded.
    // Anything else: EConvertError.
    void Assign(const TGraphic* source) override;
    // Into a bitmap: the picture drawn on white, at its own size.
    void AssignTo(TGraphic* target) const override;
    // Stretch-draws the picture, blending it with what the canvas holds by its alpha.
    void Draw(TCanvas& canvas, const RECT& rect) override;
    bool Empty() const override { return !picture_; }
    bool StillPixels() const override { return true; }
    int Width() const override { return picture_ ? picture_->Width : 0; }
    int Height() const override { return picture_ ? picture_->Height : 0; }
    // A PNG picture cannot be resized: EInvalidGraphicOperation.
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    // Some pixel of the picture lets the background through.
    bool Transparent() const override { return picture_ && hasTransparency_; }

    // Takes the rest of the stream as the file and decodes it; EPNG leaves this as it was.
    void LoadFromStream(TStream& stream) override;
    // The file it was loaded from, or the picture encoded anew.
    void SaveToStream(TStream& stream) const override;

    // The picture with its transparency; nullptr when empty.
    const TAlphaPicture* Picture() const { return picture_.get(); }
    void SetPicture(TAlphaPicture picture);

private:
    HBITMAP PremultipliedBitmap() const;

    std::shared_ptr<const TAlphaPicture> picture_;
    std::shared_ptr<const std::vector<uint8_t>> fileBytes_;  // none for a picture given to it
    bool hasTransparency_ = false;
    mutable TBitmapHandle premultiplied_;  // what AlphaBlend draws, made on first need
};

// Unit start-up and shutdown: registers "png" ("Portable Network Graphics") with the picture
// formats, and removes it again.
void InitializePngUnit();
void FinalizePngUnit();
