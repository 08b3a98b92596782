#include "picture/bmp/BitmapCanvas_win.h"

#include "base/Exceptions.h"
#include "picture/bmp/Bitmap_win.h"

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

void TBitmapCanvas::CreateHandle() {
    TBitmapImage& image = bitmap_.Image();
    image.Deselect();  // another bitmap's canvas may hold a shared image
    auto context = std::make_unique<TMemoryDC>(nullptr, image.handle.Get(), image.palette.Get());
    if (!*context) throw EOutOfResources(ErrorText::OutOfResources);
    if (image.handle) image.selectedIn = this;
    context_ = std::move(context);
    SetHandle(context_->Get());
}

void TBitmapCanvas::FreeContext() {
    if (!context_) return;
    SetHandle(nullptr);
    context_.reset();  // the image's bitmap and palette are out of it before it goes
    TBitmapImage& image = bitmap_.Image();
    if (image.selectedIn == this) image.selectedIn = nullptr;
}
