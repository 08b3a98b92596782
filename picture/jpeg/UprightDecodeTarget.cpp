#include "picture/jpeg/UprightDecodeTarget.h"

#include "base/CheckedMath.h"
#include "base/Exceptions.h"
#include "picture/jpeg/TurnUpright.h"

TJpegRows TUprightDecodeTarget::PrepareRows(int32_t width, int32_t height, int bitsPerPixel) {
    if (!Turning()) return target_.PrepareRows(width, height, bitsPerPixel);
    const bool swap = OrientationSwapsSides(orientation_);
    // The target's own limits judge the size first, so a picture it refuses costs nothing here.
    upright_ = target_.PrepareRows(swap ? height : width, swap ? width : height, bitsPerPixel);
    width_ = width;
    height_ = height;
    bytesPerPixel_ = bitsPerPixel / 8;
    auto rowBytes = AlignedRowBytes(static_cast<uint32_t>(width), static_cast<uint32_t>(bitsPerPixel));
    auto bytes = rowBytes ? CheckedMul<size_t>(*rowBytes, static_cast<size_t>(height)) : std::nullopt;
    if (!bytes) throw EOutOfMemory(ErrorText::OutOfMemory);
    stored_.assign(*bytes, 0);
    // Rows a multiple of 4 bytes apart, top row first: the decoder then fills several at a time.
    return {stored_.data(), static_cast<ptrdiff_t>(*rowBytes)};
}

void TUprightDecodeTarget::RowsDecoded(int32_t rowCount) {
    if (!Turning()) target_.RowsDecoded(rowCount);
}

void TUprightDecodeTarget::TurnWhatWasDecoded() {
    if (!Turning() || stored_.empty() || turned_) return;
    const TJpegRows stored{stored_.data(), static_cast<ptrdiff_t>(stored_.size() / static_cast<size_t>(height_))};
    TurnUpright(stored, width_, height_, bytesPerPixel_, orientation_, upright_);
    turned_ = true;
}

void TUprightDecodeTarget::Complete() {
    if (!Turning()) return;
    TurnWhatWasDecoded();
    const bool swap = OrientationSwapsSides(orientation_);
    target_.RowsDecoded(swap ? width_ : height_);
}
