// The skin decompressor over arbitrary data: the first two bytes choose the output size.
#include <cstddef>
#include <cstdint>

#include "skin/stored/Lzh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    size_t outSize = static_cast<size_t>(data[0] | (data[1] << 8)) * 4;
    std::vector<uint8_t> out = LzhUnpackBuffer(data + 2, size - 2, outSize);
    if (out.size() != outSize) __builtin_trap();
    return 0;
}
