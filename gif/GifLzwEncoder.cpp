#include "gif/GifLzwEncoder.h"

#include <algorithm>
#include <cstring>

void THashTable::Clear() { std::memset(slots_.get(), 0xFF, Size * sizeof(uint32_t)); }

namespace {
constexpr uint32_t NoChild = 0xFFFFFFFFu;
constexpr size_t MemoEntries = 2 * 4096;
}  // namespace

void TLZWEncoder::ForgetLastChildren() { std::memset(lastChild_.get(), 0xFF, MemoEntries * sizeof(uint32_t)); }

void TLZWEncoder::EmitClear() {
    Output(ClearCode);
    table_->Clear();
    ForgetLastChildren();
    nextFree_ = ClearCode + 2;
    CodeSize = InitialCodeSize;
    maxCode_ = (1 << CodeSize) - 1;
}

void TLZWEncoder::BeginPixels() {
    if (!table_) table_ = std::make_unique<THashTable>();
    if (!lastChild_) lastChild_.reset(new uint32_t[MemoEntries]);
    prefix_ = -1;
    EmitClear();
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
    THashTable& table = *table_;
    uint32_t* lastChild = lastChild_.get();
    uint32_t prefix = static_cast<uint32_t>(prefix_);
    for (; i < count; ++i) {
        const uint32_t c = pixels[i];
        uint32_t* memo = lastChild + 2 * prefix;
        const uint32_t last = memo[0];
        if ((last >> 12) == c) {
            prefix = last & 0xFFF;
            continue;
        }
        const uint32_t before = memo[1];
        if ((before >> 12) == c) {
            memo[1] = last;
            memo[0] = before;
            prefix = before & 0xFFF;
            continue;
        }
        const uint32_t key = (prefix << 8) | c;
        uint32_t slot;
        const int code = table.Find(key, &slot);
        if (code >= 0) {
            memo[1] = last;
            memo[0] = (c << 12) | static_cast<uint32_t>(code);
            prefix = static_cast<uint32_t>(code);
            continue;
        }
        Emit(static_cast<int>(prefix));
        if (nextFree_ >= LastFreeCode) {
            EmitClear();
        } else {
            table.Store(slot, key, nextFree_);
            memo[1] = last;
            memo[0] = (c << 12) | static_cast<uint32_t>(nextFree_);
            ++nextFree_;
        }
        prefix = c;
    }
    prefix_ = static_cast<int>(prefix);
}

void TLZWEncoder::EndPixels() {
    if (prefix_ >= 0) Emit(prefix_);
    prefix_ = -1;
}
