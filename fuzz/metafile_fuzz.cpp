// Metafiles: the record walk that runs before the system sees the bytes must stay inside
// the data and end.
#include <cstddef>
#include <cstdint>

#include "base/Exceptions.h"
#include "picture/metafile/MetafileFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        TMetafileInfo info = ReadMetafileInfo(data, size);
        if (info.offset > size || info.length > size - info.offset) __builtin_trap();
    } catch (const Exception&) {
    }
    return 0;
}
