// BMP files and packed bitmaps: any input either reads into a bounded DIB or fails with the
// program's own error, and what was read writes out and reads back the same.
#include <cstddef>
#include <cstdint>

#include "base/Exceptions.h"
#include "picture/bmp/BmpReader.h"
#include "picture/bmp/BmpWriter.h"

namespace {

void RoundTrip(const TBmpImage& image) {
    std::vector<uint8_t> file = WriteBmp(image.format, image.width, image.height, image.bits.data(), image.bits.size());
    TBmpImage again = ReadBmp(file.data(), file.size());
    if (again.bits != image.bits || !(again.format == image.format)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        RoundTrip(ReadBmp(data, size));
    } catch (const Exception&) {
    }
    try {
        ReadPackedDib(data, size);
    } catch (const Exception&) {
    }
    return 0;
}
