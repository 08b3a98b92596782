// Icon files: the directory, the entry choice at several display depths, and the chosen
// image; anything the data does not hold fails with "Icon image is not valid".
#include <cstddef>
#include <cstdint>

#include "base/Exceptions.h"
#include "picture/ico/IconDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        TIconDirectory directory = ReadIconDirectory(data, size);
        if (directory.type != 1) return 0;
        for (int depth : {4, 8, 32}) {
            size_t chosen = ChooseIconEntry(directory.entries, 32, 32, DisplayColorLimit(depth));
            if (chosen >= directory.entries.size()) __builtin_trap();
            TIconImage image = ReadIconImage(data, size, directory.entries[chosen]);
            WriteIconFile(image);
        }
    } catch (const Exception&) {
    }
    return 0;
}
