#include "gif/codec/GifLzwEncoder.h"

#include <algorithm>
#include <cstring>

void THashTable::Clear() { std::memset(slots_.get(), 0xFF, Size * sizeof(uint32_t)); }

namespace {
constexpr size_t MemoEntries = 2 * 4096;
constexpr size_t JumpEntries = 4096;
constexpr uint64_t NoJump = ~uint64_t{0};

inline uint32_t FourPixels(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
}  // namespace

void TLZWEncoder::ForgetShortcuts() {
    std::memset(lastChild_.get(), 0xFF, MemoEntries * sizeof(uint32_t));
    std::memset(jump_.get(), 0xFF, JumpEntries * sizeof(uint64_t));
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
    if (!jump_) jump_.reset(new uint64_t[JumpEntries]);
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
        i = 1;
    }
    uint64_t* const jump = jump_.get();
    uint32_t prefix = static_cast<uint32_t>(prefix_);
    // The codes the last single steps of this string started from, and how many there were
    // in a row (within this run of pixels, so that the four pixels behind are at hand).
    uint32_t from[4];
    size_t steps = 0;
    while (i < count) {
        if (count - i >= 4) {
            const uint64_t path = jump[prefix];
            if (static_cast<uint32_t>(path) == FourPixels(pixels + i) && path != NoJump) {
                prefix = static_cast<uint32_t>(path >> 32);
                i += 4;
                steps = 0;
                continue;
            }
        }
        const uint32_t start = prefix;
        if (!Extend(prefix, pixels[i])) {
            steps = 0;
        } else {
            from[steps & 3] = start;
            if (++steps >= 4)
                jump[from[steps & 3]] = (static_cast<uint64_t>(prefix) << 32) | FourPixels(pixels + i - 3);
        }
        ++i;
    }
    prefix_ = static_cast<int>(prefix);
}

void TLZWEncoder::EndPixels() {
    if (prefix_ >= 0) Emit(prefix_);
    prefix_ = -1;
}
