#include "picture/png/StoredIconImage.h"

#include "picture/ico/IconDirectory.h"

TAlphaPicture AlphaPictureOfStoredImage(const TStoredImage& image) {
    if (image.format == TIconImageFormat::Png) return DecodePngPicture(image.bytes, image.size);
    TIconDirEntry whole;  // the image alone: from its first byte to its last
    whole.bytesInRes = static_cast<uint32_t>(image.size);
    return AlphaPictureFromIconImage(ReadIconImage(image.bytes, image.size, whole));
}
