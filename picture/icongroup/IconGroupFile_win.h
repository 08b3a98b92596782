#pragma once
// An icon source's groups, read from the file mapped into memory (only the pages the reader
// touches are read: a library of many megabytes costs its resource directory). A 32-bit
// program on a 64-bit Windows reads the 64-bit system folders themselves, not the 32-bit
// copies the system would send it to.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "picture/icongroup/IconGroup.h"

class TIconGroupFile {
public:
    // A file that cannot be opened or mapped (an empty one, too) has no groups.
    explicit TIconGroupFile(const std::string& fileName);
    ~TIconGroupFile();
    TIconGroupFile(const TIconGroupFile&) = delete;
    TIconGroupFile& operator=(const TIconGroupFile&) = delete;

    size_t GroupCount() const { return reader_.Count(); }
    // Group `index`, read in full (empty past the count).
    TIconGroup Group(size_t index) const { return reader_.Group(index); }
    // Group `index` when the file's groups are the `count` icons the system counts, else nothing.
    std::optional<TIconGroup> GroupOfIcon(int index, int count) const;
    const uint8_t* Data() const { return data_; }

private:
    const uint8_t* data_ = nullptr;  // the file's view
    TIconGroupReader reader_{nullptr, 0};
};
