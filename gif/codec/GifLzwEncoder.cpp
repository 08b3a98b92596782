#include "gif/codec/GifLzwEncoder.h"

#include <algorithm>
#include <cstring>

void THashTable::Clear() { std::memset(slots_.get(), 0xFF, Size * sizeof(uint32_t)); }

void TFourStepTable::Clear() {
    std::memset(slots_.get(), 0xFF, Size * sizeof(uint64_t));
    used_ = 0;
}

namespace {
constexpr size_t MemoEntries = 2 * 4096;

inline uint32_t FourPixels(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
}  // namespace

void TLZWEncoder::ForgetShortcuts() {
    std::memset(lastChild_.get(), 0xFF, MemoEntries * sizeof(uint32_t));
    fours_->Clear();
}

void TLZWEncoder::EmitClear() {
    Output(ClearCode);
    table_->Clear();
    ForgetShortcuts();
    nextFree_ = ClearCode + 2;
    CodeSize = InitialCodeSize;
    maxCode_ = (1 << CodeSize) - 1;
}

void TLZWEncoder::BeginPixels() {
    if (!table_) table_ = std::make_unique<THashTable>();
    if (!lastChild_) lastChild_.reset(new uint32_t[MemoEntries]);
    if (!fours_) fours_ = std::make_unique<TFourStepTable>();
    prefix_ = -1;
    EmitClear();
}

inline bool TLZWEncoder::Extend(uint32_t& prefix, uint32_t c) {
    uint32_t* memo = lastChild_.get() + 2 * prefix;
    // Either child answers with one test: which of the two it was is a coin toss to the
    // processor's branch predictor, and a wrong guess costs more than looking at both.
    const uint32_t last = memo[0], before = memo[1];
    const uint32_t pick = 0u - static_cast<uint32_t>((last >> 12) == c);  // all ones when the newest matches
    const uint32_t child = (last & pick) | (before & ~pick);
    if ((child >> 12) == c) {
        prefix = child & 0xFFF;
        return true;
    }
    const uint32_t key = (prefix << 8) | c;
    uint32_t slot;
    const int code = table_->Find(key, &slot);
    if (code >= 0) {
        memo[1] = last;
        memo[0] = (c << 12) | static_cast<uint32_t>(code);
        prefix = static_cast<uint32_t>(code);
        return true;
    }
    Emit(static_cast<int>(prefix));
    if (nextFree_ >= LastFreeCode) {
        EmitClear();
    } else {
        table_->Store(slot, key, nextFree_);
        memo[1] = last;
        memo[0] = (c << 12) | static_cast<uint32_t>(nextFree_);
        ++nextFree_;
    }
    prefix = c;
    return false;
}

void TLZWEncoder::EncodePixels(const uint8_t* pixels, size_t count) {
    if (ColorCount < 256) {
        // Every pixel is checked before any is coded; a picture with a stray index fails
        // either way, and the coding loop stays free of the test.
        uint8_t highest = 0;
        for (size_t i = 0; i < count; ++i) highest = std::max(highest, pixels[i]);
        if (count > 0 && highest >= ColorCount) ColorNotInTable();
    }
    size_t i = 0;
    if (prefix_ < 0 && count > 0) {
        prefix_ = pixels[0];
        anchor_ = pixels[0];
        phase_ = 0;
        i = 1;
    }
    uint32_t prefix = static_cast<uint32_t>(prefix_), anchor = anchor_, phase = phase_;
    while (i < count) {
        if (phase == 0 && count - i >= 4) {
            const int code = fours_->Find(prefix, FourPixels(pixels + i));
            if (code >= 0) {
                prefix = anchor = static_cast<uint32_t>(code);
                i += 4;
                continue;
            }
        }
        const uint32_t c = pixels[i];
        if (Extend(prefix, c)) {
            phase = (phase + 1) & 3;
            if (phase == 0) anchor = prefix;
        } else {
            // The string plus c became a code (unless the table was cleared): where its length is
            // one more than a multiple of four, it is also the four-pixel step from the anchor.
            if (phase == 3 && nextFree_ > ClearCode + 2)
                fours_->Insert(anchor, LastFour(pixels, i), static_cast<uint32_t>(nextFree_ - 1));
            prefix = anchor = c;
            phase = 0;
        }
        ++i;
    }
    prefix_ = static_cast<int>(prefix);
    anchor_ = anchor, phase_ = phase;
    for (size_t k = count > 4 ? count - 4 : 0; k < count; ++k) recent_ = (recent_ >> 8) | (uint32_t{pixels[k]} << 24);
}

// The four pixels up to and including pixels[i], as read from memory, the runs before this one
// supplying those before its start.
uint32_t TLZWEncoder::LastFour(const uint8_t* pixels, size_t i) const {
    if (i >= 3) return FourPixels(pixels + i - 3);
    uint32_t four = recent_;
    for (size_t k = 0; k <= i; ++k) four = (four >> 8) | (uint32_t{pixels[k]} << 24);
    return four;
}

void TLZWEncoder::EndPixels() {
    if (prefix_ >= 0) Emit(prefix_);
    prefix_ = -1;
}
