#pragma once
// The LZW coder of GIF pixel data and its string table.
#include <cstdint>
#include <memory>

#include "gif/codec/GifEncoder.h"

// 16384 slots of 32 bits, open addressing with linear probing; a used slot holds key x 4096 +
// code (key in the upper 20 bits, code in the lower 12), an empty one has all bits set. Keys
// are prefix code x 256 + pixel. At most 4096 keys keep it three quarters empty: a search that
// meets another key is a branch the processor guesses wrong, which costs more than the larger
// table's cache misses. A search walks neighbouring slots: one multiplication to start, no division.
class THashTable {
public:
    static constexpr uint32_t Size = 16384;
    static constexpr uint32_t EmptyFrom = 0xFFFFF000u;

    THashTable() { Clear(); }
    void Clear();

    // The code stored under key, or -1; *slot then names the empty slot where key belongs.
    int Find(uint32_t key, uint32_t* slot) const {
        uint32_t h = (key * 0x9E3779B1u) >> 18;
        for (;;) {
            const uint32_t value = slots_[h];
            if (value >= EmptyFrom) {
                *slot = h;
                return -1;
            }
            if ((value >> 12) == key) return static_cast<int>(value & 0xFFF);
            h = (h + 1) & (Size - 1);
        }
    }
    void Store(uint32_t slot, uint32_t key, int code) { slots_[slot] = (key << 12) | static_cast<uint32_t>(code); }

private:
    uint32_t slots_[Size];
};

// Strings whose length is one more than a multiple of four, keyed by the code of the string four
// pixels shorter and those four pixels (as read from memory). A string is walked from its first
// pixel, so it passes through every such length, and at each the next four pixels are one
// lookup whenever the table holds the string they make. 4096 slots of two 32-bit words (the four
// pixels; the code from in the low 12 bits and the code to above), linear probing: not one word
// of 64 bits, which a 32-bit build takes apart into pairs of registers. About a quarter of a picture's codes
// go in; a picture made to put in more finds the table taking none beyond half full (or a lower
// limit), so that a search stays short: it is a shortcut, and the codes are the same without it.
class TFourStepTable {
public:
    static constexpr uint32_t Size = 4096;
    static constexpr uint32_t Empty = ~uint32_t{0};

    explicit TFourStepTable(uint32_t limit = Size / 2) : limit_(limit < Size / 2 ? limit : Size / 2) { Clear(); }
    void Clear();
    int Find(uint32_t code, uint32_t four) const {
        for (uint32_t h = Hash(code, four);; h = (h + 1) & (Size - 1)) {
            const TSlot slot = slots_[h];
            if (slot.link == Empty) return -1;
            if (((slot.four ^ four) | ((slot.link ^ code) & 0xFFF)) == 0) return static_cast<int>(slot.link >> 12);
        }
    }
    void Insert(uint32_t code, uint32_t four, uint32_t to) {
        if (used_ >= limit_) return;
        ++used_;
        uint32_t h = Hash(code, four);
        while (slots_[h].link != Empty) h = (h + 1) & (Size - 1);
        slots_[h] = {four, (to << 12) | code};
    }

private:
    struct TSlot {
        uint32_t four, link;
    };
    static uint32_t Hash(uint32_t code, uint32_t four) { return ((four ^ (code << 20)) * 0x9E3779B1u) >> 20; }
    TSlot slots_[Size];
    uint32_t used_ = 0;
    const uint32_t limit_;  // the most steps taken in
};

class TLZWEncoder : public TGIFEncoder {
public:
    // stepLimit: the most four-pixel steps kept at a time (at most half the step table); fewer
    // only make the coder slower, never change its codes.
    explicit TLZWEncoder(uint32_t stepLimit = TFourStepTable::Size / 2) : stepLimit_(stepLimit) {}

protected:
    void BeginPixels() override;
    void EncodePixels(const uint8_t* pixels, size_t count) override;
    void EndPixels() override;

private:
    static constexpr int LastFreeCode = 4095;  // a clear is sent instead of assigning it
    // Emits a code and widens the code size when the next free code no longer fits.
    void Emit(int code) {
        Output(code);
        if (nextFree_ > maxCode_) {
            ++CodeSize;
            maxCode_ = CodeSize == 12 ? 4096 : (1 << CodeSize) - 1;
        }
    }
    void EmitClear();

    // The string table and the coder's shortcut through it, in one block: the coding loop
    // reaches both from one address (a register is dear in a 32-bit build).
    struct TTables {
        explicit TTables(uint32_t stepLimit) : fours(stepLimit) {}
        THashTable strings;
        TFourStepTable fours;
    };
    // Follows the string from prefix by one pixel through the table; false (after emitting the
    // prefix and entering the new string) when it ends there.
    __attribute__((always_inline)) bool Extend(TTables& tables, uint32_t& prefix, uint32_t c);
    void AddStep(TTables& tables, uint32_t anchor, uint32_t four);
    // The loop that codes nearly every pixel; returns where fewer than four pixels are left.
    const uint8_t* CodeInFours(TTables& tables, const uint8_t* p, const uint8_t* end, uint32_t& prefix);
    uint32_t LastFour(const uint8_t* pixels, size_t i) const;

    std::unique_ptr<TTables> tables_;
    uint32_t stepLimit_;
    int prefix_ = -1;
    // Of the string being coded: its length less one, modulo four (0 where a four-pixel step
    // may start), the code it had where such a step last could start, and the last four pixels
    // of the runs before this one.
    uint32_t phase_ = 0, anchor_ = 0, recent_ = 0;
    int nextFree_ = 0;
    int maxCode_ = 0;
};
