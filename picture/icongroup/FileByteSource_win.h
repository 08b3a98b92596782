#pragma once
// A file handle read at offsets: each read sets the handle's position first, so the handle
// is the source's alone to read. Its size is asked of the system once, when first wanted.
#include <windows.h>

#include <optional>

#include "picture/icongroup/ByteSource.h"

class TFileByteSource : public TByteSource {
public:
    // The handle stays the caller's.
    explicit TFileByteSource(HANDLE file) : file_(file) {}
    size_t ReadSome(uint64_t offset, uint8_t* out, size_t n) override;
    uint64_t Size() override;

private:
    HANDLE file_;
    std::optional<uint64_t> size_;
};
