#include "gif/codec/GifItem.h"

#include "gif/codec/GifImageModel.h"

void TGIFItem::Warning(const char* message) const {
    if (image_) image_->Warning(message);
}

void TGIFTrailer::SaveToStream(TStream& stream) const {
    const uint8_t trailer = Trailer;
    stream.WriteBuffer(&trailer, 1);
}
