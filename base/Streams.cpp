#include "base/Streams.h"

#include <algorithm>
#include <cstring>

#include "base/Exceptions.h"

int64_t TStream::Size() {
    int64_t here = Seek(0, TSeekOrigin::Current);
    int64_t end = Seek(0, TSeekOrigin::End);
    Seek(here, TSeekOrigin::Beginning);
    return end;
}

void TStream::ReadBuffer(void* buffer, size_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError(ErrorText::StreamRead);
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError(ErrorText::StreamWrite);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const int64_t total = count;
    std::vector<uint8_t> chunk(static_cast<size_t>(std::min<int64_t>(count, 64 * 1024)));
    while (count > 0) {
        size_t n = static_cast<size_t>(std::min<int64_t>(count, static_cast<int64_t>(chunk.size())));
        source.ReadBuffer(chunk.data(), n);
        WriteBuffer(chunk.data(), n);
        count -= static_cast<int64_t>(n);
    }
    return total;
}

std::vector<uint8_t> TStream::ReadRemaining() {
    int64_t left = Remaining();
    std::vector<uint8_t> bytes(left > 0 ? static_cast<size_t>(left) : 0);
    ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
    if (position_ >= bytes_.size()) return 0;
    size_t n = std::min(count, bytes_.size() - position_);
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0) return 0;
    if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = 0;
    if (origin == TSeekOrigin::Current) base = static_cast<int64_t>(position_);
    if (origin == TSeekOrigin::End) base = static_cast<int64_t>(bytes_.size());
    int64_t target = base + offset;
    position_ = target < 0 ? 0 : static_cast<size_t>(target);
    return static_cast<int64_t>(position_);
}

void TMemoryStream::SetSize(int64_t newSize) {
    bytes_.resize(newSize > 0 ? static_cast<size_t>(newSize) : 0);
    position_ = std::min(position_, bytes_.size());
}

void TMemoryStream::Clear() {
    bytes_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    bytes_ = source.ReadRemaining();
    position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& target) { target.WriteBuffer(bytes_.data(), bytes_.size()); }
