// Feeds arbitrary bytes to the GIF reader. Loading may fail with the codec's errors, never
// with a fault, a hang or an unbounded allocation; what loads must also save and load again.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "base/Streams.h"
#include "gif/codec/GifImageModel.h"
#include "gif/codec/GifReader.h"

namespace {
constexpr uint64_t kFuzzMemoryBudget = uint64_t{4} << 20;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TGIFImageModel image;
    TMemoryStream input(std::vector<uint8_t>(data, data + size));
    try {
        TGifReader(image, kFuzzMemoryBudget).Load(input);
    } catch (const Exception&) {
        // Frames read before the error stay and must be usable below.
    }
    if (image.Empty()) return 0;
    try {
        TMemoryStream saved;
        image.SaveToStream(saved);
        saved.SetPosition(0);
        TGIFImageModel again;
        TGifReader(again, kFuzzMemoryBudget).Load(saved);
    } catch (const Exception&) {
        // Pixels outside their colour table cannot be written: that is reported, not a fault.
    }
    return 0;
}
