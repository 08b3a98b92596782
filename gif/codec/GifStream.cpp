#include "gif/codec/GifStream.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t PendingLimit = 64 * 1024;
}

TGIFWriter::TGIFWriter(TStream& target) : TGIFStream(target) { pending_.reserve(PendingLimit + 256); }

// Whatever was not written yet is dropped: a writer destroyed without Finish() was abandoned
// by an error, and its caller reports that error instead.
TGIFWriter::~TGIFWriter() = default;

void TGIFWriter::FlushBlock() {
    if (count_ == 0) return;
    buffer_[0] = static_cast<uint8_t>(count_);
    pending_.insert(pending_.end(), buffer_, buffer_ + 1 + count_);
    count_ = 0;
    if (pending_.size() >= PendingLimit) FlushPending();
}

void TGIFWriter::WriteBytes(const uint8_t* bytes, size_t count) {
    while (count > 0) {
        const size_t n = std::min(count, static_cast<size_t>(255 - count_));
        std::memcpy(buffer_ + 1 + count_, bytes, n);
        bytes += n;
        count -= n;
        count_ += static_cast<int>(n);
        if (count_ == 255) FlushBlock();
    }
}

void TGIFWriter::FlushPending() {
    target_.WriteBuffer(pending_.data(), pending_.size());
    pending_.clear();
}

void TGIFWriter::Finish() {
    if (finished_) return;
    FlushBlock();
    pending_.push_back(0);
    FlushPending();
    finished_ = true;
}
