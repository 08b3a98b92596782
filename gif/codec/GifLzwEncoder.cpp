#include "gif/codec/GifLzwEncoder.h"

#include <algorithm>
#include <cstring>

void THashTable::Clear() { std::memset(slots_, 0xFF, sizeof slots_); }

void TFourStepTable::Clear() {
    std::memset(slots_, 0xFF, sizeof slots_);
    used_ = 0;
}

namespace {
inline uint32_t FourPixels(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
}  // namespace

void TLZWEncoder::EmitClear() {
    Output(ClearCode);
    tables_->strings.Clear();
    tables_->fours.Clear();
    nextFree_ = ClearCode + 2;
    CodeSize = InitialCodeSize;
    maxCode_ = (1 << CodeSize) - 1;
}

void TLZWEncoder::BeginPixels() {
    if (!tables_) tables_ = std::make_unique<TTables>(stepLimit_);
    prefix_ = -1;
    EmitClear();
}

inline bool TLZWEncoder::Extend(TTables& tables, uint32_t& prefix, uint32_t c) {
    const uint32_t key = (prefix << 8) | c;
    uint32_t slot;
    const int code = tables.strings.Find(key, &slot);
    if (code >= 0) {
        prefix = static_cast<uint32_t>(code);
        return true;
    }
    Emit(static_cast<int>(prefix));
    if (nextFree_ >= LastFreeCode) {
        EmitClear();
    } else {
        tables.strings.Store(slot, key, nextFree_);
        ++nextFree_;
    }
    prefix = c;
    return false;
}

// The string of the anchor and the four pixels after it ended where it became a code: the step
// to that code, unless the code was not made (the table was cleared instead).
inline void TLZWEncoder::AddStep(TTables& tables, uint32_t anchor, uint32_t four) {
    if (nextFree_ > ClearCode + 2) tables.fours.Insert(anchor, four, static_cast<uint32_t>(nextFree_ - 1));
}

// The loop that codes nearly every pixel, with as few values live as a 32-bit build has
// registers for: from a string whose length is one more than a multiple of four, its four-pixel
// steps and then up to four single steps, each at a place of its own in the code, so that the
// place in the group of four needs no register either. Returns where fewer than four pixels
// are left, again at such a length.
const uint8_t* TLZWEncoder::CodeInFours(TTables& tables, const uint8_t* p, const uint8_t* end, uint32_t& prefix) {
    uint32_t code = prefix;
    while (end - p >= 4) {
        const int step = tables.fours.Find(code, FourPixels(p));
        if (step >= 0) {
            code = static_cast<uint32_t>(step);
            p += 4;
            continue;
        }
        const uint32_t anchor = code;
        if (!Extend(tables, code, p[0])) {
            p += 1;
        } else if (!Extend(tables, code, p[1])) {
            p += 2;
        } else if (!Extend(tables, code, p[2])) {
            p += 3;
        } else {
            if (!Extend(tables, code, p[3])) AddStep(tables, anchor, FourPixels(p));
            p += 4;
        }
    }
    prefix = code;
    return p;
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
    TTables& tables = *tables_;
    while (i < count) {
        if (phase == 0 && count - i >= 4) {
            i = static_cast<size_t>(CodeInFours(tables, pixels + i, pixels + count, prefix) - pixels);
            anchor = prefix;
            continue;
        }
        const uint32_t c = pixels[i];
        if (Extend(tables, prefix, c)) {
            phase = (phase + 1) & 3;
            if (phase == 0) anchor = prefix;
        } else {
            if (phase == 3) AddStep(tables, anchor, LastFour(pixels, i));
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
