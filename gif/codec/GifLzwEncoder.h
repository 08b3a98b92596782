#pragma once
// The LZW coder of GIF pixel data and its string table.
#include <cstdint>
#include <memory>

#include "gif/codec/GifEncoder.h"

// 8192 slots of 32 bits, open addressing with linear probing; a used slot holds key x 4096 +
// code (key in the upper 20 bits, code in the lower 12), an empty one has all bits set. Keys
// are prefix code x 256 + pixel. At most 4096 keys keep it half empty, and a search walks
// neighbouring slots: one multiplication to start, no division.
class THashTable {
public:
    static constexpr uint32_t Size = 8192;
    static constexpr uint32_t EmptyFrom = 0xFFFFF000u;

    THashTable() : slots_(new uint32_t[Size]) { Clear(); }
    void Clear();

    // The code stored under key, or -1; *slot then names the empty slot where key belongs.
    int Find(uint32_t key, uint32_t* slot = nullptr) const {
        uint32_t h = (key * 0x9E3779B1u) >> 19;
        for (;;) {
            const uint32_t value = slots_[h];
            if (value >= EmptyFrom) {
                if (slot) *slot = h;
                return -1;
            }
            if ((value >> 12) == key) return static_cast<int>(value & 0xFFF);
            h = (h + 1) & (Size - 1);
        }
    }
    void Insert(uint32_t key, int code) {
        uint32_t slot;
        if (Find(key, &slot) < 0) Store(slot, key, code);
    }
    void Store(uint32_t slot, uint32_t key, int code) { slots_[slot] = (key << 12) | static_cast<uint32_t>(code); }

private:
    std::unique_ptr<uint32_t[]> slots_;
};

class TLZWEncoder : public TGIFEncoder {
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

    void ForgetShortcuts();  // the last children and jumps, at each clear
    // Follows the string from prefix by one pixel through the last children and the table;
    // false (after emitting the prefix and entering the new string) when it ends there.
    __attribute__((always_inline)) bool Extend(uint32_t& prefix, uint32_t c);

    std::unique_ptr<THashTable> table_;
    // For each prefix code, the two children added or found in the table last, newest first
    // (pixel x 4096 + code, or all bits set): in pictures a string is most often followed by the same pixel as last
    // time, and this answers nine lookups in ten of a photograph without hashing. The string
    // table stays the one dictionary.
    std::unique_ptr<uint32_t[]> lastChild_;
    // For each prefix code, the four pixels that last followed it one after the other without
    // ending the string, and the code they led to (code x 2^32 + the four pixels as read from
    // memory; NoJump when unknown). Strings of a photograph run to a dozen pixels and more and
    // repeat their paths: one comparison then takes four pixels at a time, where each pixel
    // alone waits for the lookup of the one before it.
    std::unique_ptr<uint64_t[]> jump_;
    int prefix_ = -1;
    int nextFree_ = 0;
    int maxCode_ = 0;
};
