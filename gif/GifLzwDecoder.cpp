#include "gif/GifLzwDecoder.h"

#include <algorithm>
#include <cstring>

#include "gif/GifBitReader.h"
#include "toolkit/Exceptions.h"

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

// The table walk's view of the entries made so far: each extends its prefix by the last
// byte of its run.
void TGifLzwDecoder::TablesFromRuns(const uint8_t* out) {
    for (int code = clear_ + 2; code < free_; ++code) {
        prefix_[code] = runs_[code].prefix;
        suffix_[code] = out[runs_[code].pos + runs_[code].len - 1];
    }
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

// The state lives in locals while decoding: stores through the byte pointer `out` could
// otherwise alias every member and force reloads on each code.
TGifLzwStop TGifLzwDecoder::DecodeRuns(TGifBitReader& reader, uint8_t* out, size_t count, size_t& pos) {
    if (codeSize_ > 8) return DecodeByChains(reader, out, count, pos, clear_, true);
    TGifBitReader bits = reader;
    const int clear = clear_, end = end_;
    int width = width_, limit = limit_, next = free_, prev = 0;
    size_t at = pos, prevPos = 0;
    uint32_t prevLen = 0;
    bool fresh = true;
    int handOver = -1;
    TGifLzwStop stop = TGifLzwStop::Complete;
    // After a clear code (and at the start): the first code that is not a clear code must be
    // a colour; it starts the run without making an entry.
    auto startRun = [&]() -> bool {
        width = codeSize_ + 1, limit = 1 << width, next = clear + 2;
        int code;
        do code = bits.Read(static_cast<unsigned>(width));
        while (code == clear);
        if (code < 0 || code == end) {
            stop = code < 0 ? TGifLzwStop::OutOfData : TGifLzwStop::EndCode;
            return false;
        }
        if (code > end) {
            fresh = true;
            handOver = code;
            return false;
        }
        out[at] = static_cast<uint8_t>(code);
        prev = code, prevPos = at, prevLen = 1;
        fresh = false;
        if (++at < count) return true;
        stop = TGifLzwStop::Complete;
        return false;
    };
    bool running = startRun();
    while (running) {
        const int code = bits.Read(static_cast<unsigned>(width));
        uint32_t len;
        if (code < clear) {
            if (code < 0) {
                stop = TGifLzwStop::OutOfData;
                break;
            }
            out[at] = static_cast<uint8_t>(code);
            len = 1;
        } else if (code < next && code > end) {
            len = runs_[code].len;
            CopyRun(out, at, runs_[code].pos, len, count);
        } else if (code == next) {
            len = prevLen + 1;
            CopyRun(out, at, prevPos, prevLen, count);
            if (at + prevLen < count) out[at + prevLen] = out[prevPos];
        } else if (code == clear) {
            running = startRun();
            continue;
        } else if (code == end) {
            stop = TGifLzwStop::EndCode;
            break;
        } else {
            handOver = code;  // not a string of this table: the table walk takes over below
            break;
        }
        if (next < kMaxCodes) {
            runs_[next] = Run{static_cast<uint32_t>(prevPos), static_cast<uint16_t>(prevLen + 1),
                              static_cast<uint16_t>(prev)};
            if (++next >= limit && limit <= kMaxCodes - 1) limit <<= 1, ++width;
        }
        prev = code;
        prevPos = at;
        prevLen = len;
        if (len >= count - at) {
            at = count;
            stop = TGifLzwStop::Complete;
            break;
        }
        at += len;
    }
    width_ = width, limit_ = limit, free_ = next, prev_ = prev;
    pos = at;
    reader = bits;
    if (handOver < 0) return stop;
    TablesFromRuns(out);
    if (!fresh) first_ = out[prevPos];
    return DecodeByChains(reader, out, count, pos, handOver, fresh);
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
        if (sp >= kMaxCodes || prefix_[code] == code) throw GIFException(ErrorText::GifCircularEntry);
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
