// Icon groups of PE, NE and .ico files: listing, the largest image and the whole-group .ico
// file; every image a group keeps must lie inside the data, and the count read a few bytes at
// a time through a block buffer must be the count of the whole data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "picture/icongroup/IconGroup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<TIconGroup> groups = ListIconGroups(data, size);
    TMemorySource memory(data, size);
    TBlockBuffer buffer(memory, 61);  // blocks that no field's alignment divides
    if (CountIconGroups(buffer) != groups.size()) __builtin_trap();
    for (const TIconGroup& group : groups) {
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
