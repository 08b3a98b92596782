#include "picture/icongroup/ByteSource.h"

#include <algorithm>
#include <cstring>

size_t TMemorySource::ReadSome(uint64_t offset, uint8_t* out, size_t n) {
    if (offset >= size_) return 0;
    const size_t held = std::min<uint64_t>(n, size_ - offset);
    if (held) std::memcpy(out, data_ + offset, held);
    return held;
}

TBlockBuffer::TBlockBuffer(TByteSource& source, size_t blockSize) : source_(source), block_(blockSize) {}

bool TBlockBuffer::Holds(uint64_t offset, size_t n) const {
    return offset >= blockAt_ && offset - blockAt_ <= blockHeld_ && n <= blockHeld_ - (offset - blockAt_);
}

// The block starts at the boundary below the read, so that reads on either side of it
// share the block; a read that would cross the block's end starts a block of its own.
void TBlockBuffer::Load(uint64_t offset, size_t n) {
    const size_t blockSize = block_.size();
    blockAt_ = offset - offset % blockSize;
    if (n > blockSize - (offset - blockAt_)) blockAt_ = offset;
    blockHeld_ = source_.ReadSome(blockAt_, block_.data(), blockSize);
}

size_t TBlockBuffer::ReadSome(uint64_t offset, uint8_t* out, size_t n) {
    if (n > block_.size()) return source_.ReadSome(offset, out, n);
    if (!Holds(offset, n)) Load(offset, n);
    if (offset < blockAt_ || offset - blockAt_ >= blockHeld_) return 0;
    const size_t held = std::min<size_t>(n, blockHeld_ - static_cast<size_t>(offset - blockAt_));
    if (held) std::memcpy(out, block_.data() + (offset - blockAt_), held);
    return held;
}
