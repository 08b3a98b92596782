#include "gif/codec/GifBitReader.h"

#include <algorithm>

#include "base/ByteReader.h"

TGifSubBlockJoiner::TGifSubBlockJoiner() : bytes_(new uint8_t[kStretch + TGifBitReader::kPadding]) {}

TGifSubBlockJoiner::~TGifSubBlockJoiner() = default;

TGifBitReader TGifSubBlockJoiner::Start(ByteReader& in) {
    in_ = &in;
    size_ = leftInBlock_ = 0;
    ended_ = truncated_ = false;
    Join();
    return TGifBitReader(bytes_.get(), size_, 0, ended_ ? nullptr : this);
}

TGifBitReader TGifSubBlockJoiner::Continue(size_t bitPos) {
    const size_t consumed = std::min(bitPos >> 3, size_);
    std::memmove(bytes_.get(), bytes_.get() + consumed, size_ - consumed);
    size_ -= consumed;
    Join();
    return TGifBitReader(bytes_.get(), size_, bitPos & 7, ended_ ? nullptr : this);
}

// Fills the stretch from the sub-blocks, a sub-block's bytes being split between two stretches
// where it does not fit. Data that ends where a sub-block's size would be is taken as ended; a
// sub-block cut short by the end of the data is truncated.
void TGifSubBlockJoiner::Join() {
    while (size_ < kStretch && !ended_) {
        if (leftInBlock_ == 0) {
            if (in_->AtEnd() || (leftInBlock_ = in_->ReadU8()) == 0) {
                ended_ = true;
                break;
            }
        }
        const size_t n = std::min({leftInBlock_, kStretch - size_, in_->Remaining()});
        if (n == 0) {
            ended_ = truncated_ = true;
            break;
        }
        in_->ReadBytes(bytes_.get() + size_, n);
        size_ += n;
        leftInBlock_ -= n;
    }
    std::fill_n(bytes_.get() + size_, TGifBitReader::kPadding, uint8_t{0});
}

bool TGifSubBlockJoiner::Finish() {
    while (!ended_) {
        size_ = 0;
        Join();
    }
    return truncated_;
}
