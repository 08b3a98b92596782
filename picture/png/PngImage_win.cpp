#include "picture/png/PngImage_win.h"

#include <cstring>

#include "picture/Picture_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/png/PngBitmaps_win.h"
#include "toolkit/Canvas_win.h"

TERVANE_DEFINE_GRAPHIC_CLASS(TPNGImage, TGraphic)

TPNGImage::TPNGImage() = default;
TPNGImage::~TPNGImage() = default;

void TPNGImage::SetPicture(TAlphaPicture picture) {
    hasTransparency_ = picture.HasTransparency();
    picture_ = std::make_shared<const TAlphaPicture>(std::move(picture));
    fileBytes_.reset();
    premultiplied_.Reset();
    Changed();
}

void TPNGImage::Assign(const TGraphic* source) {
    if (source == this) return;
    if (source && source->InheritsFrom(TPNGImage::StaticClass())) {
        const auto* other = static_cast<const TPNGImage*>(source);
        picture_ = other->picture_;
        fileBytes_ = other->fileBytes_;
        hasTransparency_ = other->hasTransparency_;
        premultiplied_.Reset();
        Changed();
    } else if (source && source->InheritsFrom(TBitmap::StaticClass())) {
        TBitmap copy;
        copy.Assign(source);
        SetPicture(AlphaPictureFromBitmap(copy));
    } else {
        TGraphic::Assign(source);
    }
}

void TPNGImage::AssignTo(TGraphic* target) const {
    if (!target || !target->InheritsFrom(TBitmap::StaticClass())) return TGraphic::AssignTo(target);
    auto* bitmap = static_cast<TBitmap*>(target);
    bitmap->Assign(nullptr);
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(Width(), Height());  // white
    bitmap->Canvas().Draw(0, 0, const_cast<TPNGImage*>(this));
}

HBITMAP TPNGImage::PremultipliedBitmap() const {
    if (!premultiplied_ && picture_) premultiplied_.Reset(PremultipliedDib(*picture_));
    return premultiplied_.Get();
}

void TPNGImage::Draw(TCanvas& canvas, const RECT& rect) {
    HBITMAP bitmap = PremultipliedBitmap();
    if (!bitmap) return;
    TMemoryDC source(canvas.Handle(), bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, static_cast<BYTE>(hasTransparency_ ? AC_SRC_ALPHA : 0)};
    AlphaBlend(canvas.Handle(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source.Get(), 0,
               0, Width(), Height(), blend);
}

void TPNGImage::SetWidth(int) { throw EInvalidGraphicOperation(ErrorText::PngSizeChange); }
void TPNGImage::SetHeight(int) { throw EInvalidGraphicOperation(ErrorText::PngSizeChange); }

void TPNGImage::LoadFromStream(TStream& stream) {
    auto bytes = std::make_shared<const std::vector<uint8_t>>(stream.ReadRemaining());
    TAlphaPicture picture = DecodePngPicture(bytes->data(), bytes->size());
    SetPicture(std::move(picture));
    fileBytes_ = std::move(bytes);
}

void TPNGImage::SaveToStream(TStream& stream) const {
    if (fileBytes_) stream.WriteBuffer(fileBytes_->data(), fileBytes_->size());
    else if (picture_) WritePngPicture(stream, *picture_);
}

namespace {

std::unique_ptr<TFileFormatRegistration> pngFormat;

}  // namespace

void InitializePngUnit() {
    if (!pngFormat)
        pngFormat = std::make_unique<TFileFormatRegistration>("png", "Portable Network Graphics", TPNGImage::StaticClass());
}

void FinalizePngUnit() { pngFormat.reset(); }
