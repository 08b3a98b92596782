#include "picture/Image_win.h"

#include "picture/Picture_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/ico/Icon_win.h"
#include "picture/metafile/Metafile_win.h"
#include "toolkit/Canvas_win.h"
#include "toolkit/GdiGuards_win.h"

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
    picture_->OnChange = [this](TPicture*) { PictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { picture_->OnChange = nullptr; }

void TImage::SetPicture(const TPicture* source) { picture_->Assign(source); }

void TImage::SetStretch(bool stretch) {
    if (stretch == stretch_) return;
    stretch_ = stretch;
    Invalidate();
}

void TImage::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize) PictureChanged();
}

void TImage::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    PictureChanged();
}

void TImage::PictureChanged() {
    shrunk_.reset();
    TGraphic* graphic = picture_->Graphic();
    if (graphic) {
        if (autoSize_ && graphic->Width() > 0 && graphic->Height() > 0)
            SetBounds(Left(), Top(), graphic->Width(), graphic->Height());
        if (!dynamic_cast<TIcon*>(graphic) && !dynamic_cast<TMetafile*>(graphic))
            graphic->SetTransparent(transparent_);
    }
    Invalidate();
}

RECT TImage::DestRect() const {
    if (stretch_) return ClientRect();
    return {0, 0, picture_->Width(), picture_->Height()};
}

void TImage::Paint(TCanvas& canvas) {
    TGraphic* graphic = picture_->Graphic();
    if (!graphic || graphic->Empty()) return;
    const RECT dest = DestRect();
    if (TBitmap* shrunk = ShrunkGraphic(*graphic, dest))
        canvas.Draw(dest.left, dest.top, shrunk);
    else
        canvas.StretchDraw(dest, graphic);
}

namespace {

// Still, opaque pictures with more pixels than the rectangle they are shrunk into. A bitmap
// of the display's depth then holds exactly what stretching them onto the display gives (the
// same stretch mode is chosen for both), so drawing it unscaled looks the same. Palette
// displays are left out: there stretching averages through the palette in force.
bool WorthShrinkingOnce(TGraphic& graphic, int width, int height) {
    return graphic.StillPixels() && !graphic.Transparent() && width > 0 && height > 0 &&
           static_cast<long long>(graphic.Width()) * graphic.Height() > static_cast<long long>(width) * height &&
           ScreenColorDepth() > 8;
}

}  // namespace

TBitmap* TImage::ShrunkGraphic(TGraphic& graphic, const RECT& dest) {
    const int width = dest.right - dest.left, height = dest.bottom - dest.top;
    if (!WorthShrinkingOnce(graphic, width, height)) {
        shrunk_.reset();
        return nullptr;
    }
    if (!shrunk_ || shrunk_->Width() != width || shrunk_->Height() != height) {
        auto shrunk = std::make_unique<TBitmap>();
        shrunk->SetSize(width, height);
        shrunk->Canvas().StretchDraw(RECT{0, 0, width, height}, &graphic);
        shrunk_ = std::move(shrunk);
    }
    return shrunk_.get();
}
