// Feeds arbitrary bytes to the PNG reader. Decoding may fail with EPNG, never with a fault, a
// hang or an unbounded allocation; what decodes must also write and decode again, the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/Exceptions.h"
#include "base/Streams.h"
#include "picture/png/AlphaPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TAlphaPicture picture;
    try {
        picture = DecodePngPicture(data, size);
    } catch (const EPNG&) {
        return 0;
    }
    TMemoryStream written;
    WritePngPicture(written, picture);
    const TAlphaPicture again = DecodePngPicture(written.Memory(), written.Bytes().size());
    if (again.Width != picture.Width || again.Height != picture.Height || again.Pixels != picture.Pixels) std::abort();
    return 0;
}
