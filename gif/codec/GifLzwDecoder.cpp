#include "gif/codec/GifLzwDecoder.h"

#include <algorithm>
#include <cstring>

#include "base/ByteOrder.h"
#include "base/Exceptions.h"
#include "gif/codec/GifBitReader.h"

namespace {

// How far a copy may write past the end of its string; those bytes are overwritten by the
// strings that follow, or put back to the fill value when the data stops early.
constexpr size_t kCopySlack = 16;

using Word = TGifLzwDecoder::HeadWord;
constexpr size_t kHead = sizeof(Word);  // bytes of a string kept in its entry

inline Word LoadWord(const uint8_t* p) {
    Word v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void StoreWord(uint8_t* p, Word v) { std::memcpy(p, &v, sizeof v); }

// A string one byte longer: `head` (of a string of `len` bytes) followed by `byte`.
inline Word Extended(Word head, uint32_t len, Word byte) { return len < kHead ? head | (byte << (8 * len)) : head; }

// Below count - kRoomy any string (at most 4096 bytes) and the bytes a copy writes past it fit.
constexpr size_t kRoomy = 4096 + 2 * kHead;

// Writes a string of len bytes at out + dst where there is room for it and two words more: the
// first bytes from its head, the rest two words at a time from its earlier copy at out + src.
// That copy ends at dst + 1 at the latest (the code being defined ends with the byte at dst,
// which the head has just written), so every byte a word reads within the string is final. An
// inline copy, not memcpy: strings of a photograph are a dozen bytes or two, where the call and
// its choice of method cost more than the copy.
inline void PutString(uint8_t* out, size_t dst, Word head, size_t src, size_t len) {
    StoreWord(out + dst, LittleEndian(head));  // lowest byte first
    for (size_t i = kHead; i < len; i += 2 * kHead) {
        StoreWord(out + dst + i, LoadWord(out + src + i));
        StoreWord(out + dst + i + kHead, LoadWord(out + src + i + kHead));
    }
}

// The same near the end of the output, writing nothing at or past count; true when the string
// reaches count.
inline bool PutStringNearEnd(uint8_t* out, size_t dst, Word head, size_t src, size_t len, size_t count) {
    const size_t n = std::min(len, count - dst);
    for (size_t i = 0; i < n; ++i) out[dst + i] = i < kHead ? static_cast<uint8_t>(head >> (8 * i)) : out[src + i];
    return n == count - dst;
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

// Colours are strings of one byte; the clear and end codes have none.
void TGifLzwDecoder::ResetRuns() {
    for (int c = 0; c < clear_; ++c) runs_[c] = Run{static_cast<Word>(c), 0, 1, 0};
    runs_[clear_] = runs_[end_] = Run{0, 0, 0, 0};
}

// The state lives in locals while decoding: stores through the byte pointer `out` could
// otherwise alias every member and force reloads on each code. The previous string is kept as
// little as the next entry needs (its head, its length and its code; it lies just before `at`),
// so that a 32-bit processor's few registers hold the loop. Each run (from the start or a clear
// code) begins with a colour that makes no entry; inside it, any code at or above the next free
// one (out of data reads as -1, which compares above) takes the one rare branch.
TGifLzwStop TGifLzwDecoder::DecodeRuns(TGifBitReader& reader, uint8_t* out, size_t count, size_t& pos) {
    if (codeSize_ > 8) return DecodeByChains(reader, out, count, pos, clear_, true);
    ResetRuns();
    TGifBitReader bits = reader;
    Run* const runs = runs_;
    const size_t roomy = count > kRoomy ? count - kRoomy : 0;
    unsigned width = 0;
    int limit = 0, next = 0, handOver = -1;
    size_t at = pos;
    Word lastHead = 0;
    uint32_t lastLen = 0, lastCode = 0;
    bool fresh = true;
    TGifLzwStop stop = TGifLzwStop::Complete;
    // The entry the previous string makes with the first byte of the one after it.
    const auto nextEntry = [&](Word byte) {
        return Run{Extended(lastHead, lastLen, byte), static_cast<uint32_t>(at - lastLen),
                   static_cast<uint16_t>(lastLen + 1), static_cast<uint16_t>(lastCode)};
    };
    for (bool cleared = true; cleared;) {
        cleared = false;
        fresh = true;
        width = static_cast<unsigned>(codeSize_ + 1), limit = 1 << width, next = clear_ + 2;
        int first;
        do first = bits.Read(width, static_cast<unsigned>(limit - 1));
        while (first == clear_);
        if (first < 0 || first == end_) {
            stop = first < 0 ? TGifLzwStop::OutOfData : TGifLzwStop::EndCode;
            break;
        }
        if (first > end_) {
            handOver = first;
            break;
        }
        out[at] = static_cast<uint8_t>(first);
        lastHead = static_cast<Word>(first), lastLen = 1, lastCode = static_cast<uint32_t>(first);
        fresh = false;
        if (++at == count) break;
        for (;;) {
            const int code = bits.Read(width, static_cast<unsigned>(limit - 1));
            if (static_cast<unsigned>(code) >= static_cast<unsigned>(next)) {
                if (code != next) {
                    if (code < 0) stop = TGifLzwStop::OutOfData;
                    else handOver = code;  // not a string of this table: the table walk takes over below
                    break;
                }
                // The code being defined: the previous string and its own first byte, made the
                // entry it is about to become (the table is never full when this code can come).
                runs[next] = nextEntry(lastHead & 0xFF);
            }
            const Run string = runs[code];
            if (string.len == 0) {  // the clear or the end code
                cleared = code == clear_;
                if (!cleared) stop = TGifLzwStop::EndCode;
                break;
            }
            if (at < roomy) {
                PutString(out, at, string.head, string.pos, string.len);
            } else if (PutStringNearEnd(out, at, string.head, string.pos, string.len, count)) {
                at = count;
                stop = TGifLzwStop::Complete;
                break;
            }
            if (next < kMaxCodes) {
                runs[next] = nextEntry(string.head & 0xFF);
                if (++next >= limit && limit <= kMaxCodes - 1) limit <<= 1, ++width;
            }
            lastHead = string.head, lastLen = string.len, lastCode = static_cast<uint32_t>(code);
            at += lastLen;
        }
    }
    width_ = static_cast<int>(width), limit_ = limit, free_ = next, prev_ = static_cast<int>(lastCode);
    pos = at;
    reader = bits;
    if (handOver < 0) return stop;
    TablesFromRuns(out);
    if (!fresh) first_ = static_cast<int>(lastHead & 0xFF);
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
