#pragma once
// An icon source's groups. Counting them reads the file's headers and the top of its
// resource directory through a few small reads; the file is mapped into memory only when a
// group is read (and then only the pages the reader touches are read: a library of many
// megabytes costs its resource directory). A 32-bit program on a 64-bit Windows reads the
// 64-bit system folders themselves, not the 32-bit copies the system would send it to.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "picture/icongroup/FileByteSource_win.h"
#include "picture/icongroup/IconGroup.h"

class TIconGroupFile {
public:
    // A file that cannot be opened or read (an empty one, too) has no groups.
    explicit TIconGroupFile(const std::string& fileName);
    ~TIconGroupFile();
    TIconGroupFile(const TIconGroupFile&) = delete;
    TIconGroupFile& operator=(const TIconGroupFile&) = delete;

    size_t GroupCount() const { return count_; }
    // Group `index`, read in full (empty past the count).
    TIconGroup Group(size_t index) const { return Mapped().Group(index); }
    // Group `index` when the file's groups are the `count` icons the system counts, else nothing.
    std::optional<TIconGroup> GroupOfIcon(int index, int count) const;
    // The file's bytes, which the groups' images point into (null when it cannot be mapped).
    const uint8_t* Data() const;

private:
    struct TCloseHandle {  // the file's handle and its mapping's
        void operator()(HANDLE handle) const { CloseHandle(handle); }
    };
    // The reader over the file's view, mapped on first need.
    const TIconGroupReader& Mapped() const;

    std::unique_ptr<void, TCloseHandle> file_;
    mutable TFileByteSource source_;
    size_t count_ = 0;
    mutable const uint8_t* data_ = nullptr;  // the file's view, once mapped
    mutable std::optional<TIconGroupReader> reader_;
};
