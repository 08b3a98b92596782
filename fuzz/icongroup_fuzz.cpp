// Icon groups of PE, NE and .ico files: listing, the largest image and the whole-group .ico
// file; every image a group keeps must lie inside the data.
#include <cstddef>
#include <cstdint>

#include "base/Exceptions.h"
#include "picture/icongroup/IconGroup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const TIconGroup& group : ListIconGroups(data, size)) {
        for (const TGroupImage& image : group.images)
            if (image.entry.imageOffset > size || image.entry.bytesInRes > size - image.entry.imageOffset)
                __builtin_trap();
        GroupSizes(data, group);
        LargestImage(data, group);
        try {
            WriteIconGroupFile(data, group);
        } catch (const Exception&) {
            if (!group.images.empty()) __builtin_trap();
        }
    }
    return 0;
}
