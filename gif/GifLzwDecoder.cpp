#include "gif/GifLzwDecoder.h"

#include <algorithm>
#include <cstring>

#include "gif/GifBitReader.h"
#include "gif/GifErrors.h"

namespace {

// How far a short copy may write past the end of its string; those bytes are overwritten by
// the strings that follow, or put back to the fill value when the data stops early.
constexpr size_t kCopySlack = 16;

// Copies a string that ends before dst (src + len <= dst) to dst, never past count.
inline void CopyRun(uint8_t* out, size_t dst, size_t src, size_t len, size_t count) {
    if (len <= kCopySlack && dst + kCopySlack <= count) {
        uint64_t chunk;
        std::memcpy(&chunk, out + src, 8);
        std::memcpy(out + dst, &chunk, 8);
        if (len > 8) {
            std::memcpy(&chunk, out + src + 8, 8);
            std::memcpy(out + dst + 8, &chunk, 8);
        }
        return;
    }
    std::memcpy(out + dst, out + src, std::min(len, count - dst));
}

}  // namespace

void TGifLzwDecoder::ResetWidths() {
    width_ = codeSize_ + 1;
    limit_ = 1 << width_;
    free_ = clear_ + 2;
}

// Colour codes stand for themselves; every entry from `from` up is emptied.
void TGifLzwDecoder::ResetTables(int from) {
    for (int i = 0; i < clear_; ++i) {
        prefix_[i] = 0;
        suffix_[i] = static_cast<uint16_t>(i);
    }
    from = std::max(from, clear_);
    std::fill(prefix_ + from, prefix_ + kMaxCodes, uint16_t{0});
    std::fill(suffix_ + from, suffix_ + kMaxCodes, uint16_t{0});
}

void TGifLzwDecoder::Widen() {
    ++free_;
    if (free_ >= limit_ && limit_ <= kMaxCodes - 1) {
        limit_ <<= 1;
        ++width_;
    }
}

TGifLzwStop TGifLzwDecoder::Decode(TGifBitReader& bits, int minCodeSize, uint8_t* out, size_t count,
                                   uint8_t fill) {
    codeSize_ = minCodeSize;
    clear_ = 1 << minCodeSize;
    end_ = clear_ + 1;
    ResetWidths();
    ResetTables(clear_);
    size_t pos = 0;
    TGifLzwStop stop = count == 0 ? TGifLzwStop::Complete : DecodeRuns(bits, out, count, pos);
    if (stop != TGifLzwStop::Complete) std::fill(out + pos, out + std::min(pos + kCopySlack, count), fill);
    return stop;
}

TGifLzwStop TGifLzwDecoder::DecodeRuns(TGifBitReader& bits, uint8_t* out, size_t count, size_t& pos) {
    if (codeSize_ > 8) return DecodeByChains(bits, out, count, pos, clear_, true);
    size_t prevPos = 0;
    uint32_t prevLen = 0;
    bool fresh = true;
    for (;;) {
        int code = bits.Read(static_cast<unsigned>(width_));
        if (code < 0) return TGifLzwStop::OutOfData;
        if (code == clear_) {
            ResetWidths();
            fresh = true;
            continue;
        }
        if (code == end_) return TGifLzwStop::EndCode;
        if (fresh) {
            if (code > end_) return DecodeByChains(bits, out, count, pos, code, true);
            out[pos] = static_cast<uint8_t>(code);
            prevPos = pos++;
            prevLen = 1;
            prev_ = code;
            fresh = false;
            if (pos >= count) return TGifLzwStop::Complete;
            continue;
        }
        uint32_t len;
        if (code < clear_) {
            out[pos] = static_cast<uint8_t>(code);
            len = 1;
        } else if (code < free_) {
            len = runs_[code].len;
            CopyRun(out, pos, runs_[code].pos, len, count);
        } else if (code == free_) {
            len = prevLen + 1;
            CopyRun(out, pos, prevPos, prevLen, count);
            if (pos + prevLen < count) out[pos + prevLen] = out[prevPos];
        } else {
            first_ = out[prevPos];
            return DecodeByChains(bits, out, count, pos, code, false);
        }
        if (free_ < kMaxCodes) {
            prefix_[free_] = static_cast<uint16_t>(prev_);
            suffix_[free_] = out[pos];
            runs_[free_] = Run{static_cast<uint32_t>(prevPos), prevLen + 1};
            Widen();
        }
        prev_ = code;
        prevPos = pos;
        prevLen = len;
        if (len >= count - pos) {
            pos = count;
            return TGifLzwStop::Complete;
        }
        pos += len;
    }
}

// Pushes the string of `code` (the previous string and its first pixel when the code is not
// yet defined) and returns how many values were pushed; stack_ holds them last pixel first.
int TGifLzwDecoder::PushString(int code) {
    int sp = 0;
    if (code >= free_) {
        stack_[sp++] = static_cast<uint16_t>(first_);
        code = prev_;
    }
    while (code >= clear_) {
        if (sp >= kMaxCodes || prefix_[code] == code) throw GIFException(GifText::CircularEntry);
        stack_[sp++] = suffix_[code];
        code = prefix_[code];
    }
    stack_[sp++] = suffix_[code];
    first_ = suffix_[code];
    return sp;
}

TGifLzwStop TGifLzwDecoder::DecodeByChains(TGifBitReader& bits, uint8_t* out, size_t count, size_t& pos, int code,
                                           bool fresh) {
    ResetTables(free_);
    for (;;) {
        if (code == clear_) {
            ResetWidths();
            ResetTables(clear_);
            fresh = true;
        } else if (code == end_) {
            return TGifLzwStop::EndCode;
        } else if (fresh) {
            out[pos++] = static_cast<uint8_t>(code);
            prev_ = first_ = code;
            fresh = false;
        } else {
            int sp = PushString(code);
            if (free_ < kMaxCodes) {
                prefix_[free_] = static_cast<uint16_t>(prev_);
                suffix_[free_] = static_cast<uint16_t>(first_);
                Widen();
            }
            prev_ = code;
            while (sp > 0 && pos < count) out[pos++] = static_cast<uint8_t>(stack_[--sp]);
        }
        if (pos >= count) return TGifLzwStop::Complete;
        code = bits.Read(static_cast<unsigned>(width_));
        if (code < 0) return TGifLzwStop::OutOfData;
    }
}
