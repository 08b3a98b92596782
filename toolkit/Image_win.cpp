#include "toolkit/Image_win.h"

#include "picture/Icon_win.h"
#include "picture/Metafile_win.h"
#include "picture/Picture_win.h"
#include "toolkit/Canvas_win.h"

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
    canvas.StretchDraw(DestRect(), graphic);
}
