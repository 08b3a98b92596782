#include "picture/icongroup/FileByteSource_win.h"

#include <algorithm>

// The position is set and a plain read follows: a read with its offset in an OVERLAPPED
// costs Wine a round trip to its server each time, several times the read itself.
size_t TFileByteSource::ReadSome(uint64_t offset, uint8_t* out, size_t n) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(std::min<uint64_t>(offset, INT64_MAX));
    if (!SetFilePointerEx(file_, position, nullptr, FILE_BEGIN)) return 0;
    size_t done = 0;
    while (done < n) {
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(n - done, 0x7FFFFFFF));
        DWORD got = 0;
        if (!ReadFile(file_, out + done, wanted, &got, nullptr) || got == 0) break;
        done += got;
    }
    return done;
}

uint64_t TFileByteSource::Size() {
    if (!size_) {
        LARGE_INTEGER size;
        size_ = GetFileSizeEx(file_, &size) && size.QuadPart > 0 ? static_cast<uint64_t>(size.QuadPart) : 0;
    }
    return *size_;
}
