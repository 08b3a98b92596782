#pragma once
// The LZW decoder for GIF frame data: fixed tables of 4096 entries, no allocation per code.
//
// Well-formed data takes the fast path, where every table entry is a run of bytes already
// written to the output (an entry is always the previous string plus the first byte of the
// current one, which lie side by side in the output). Each entry also carries its first bytes
// (a machine word: eight, or four on 32-bit processors, whose 64-bit shifts and stores take
// several instructions), colours included, so a short code (nearly every code of a photograph)
// becomes one store, the same for colours and strings: no branch on which kind of code came,
// and no read of the output.
// Data that refers to codes not yet defined, or starts a run with a code that is not a
// colour, falls back to walking the prefix/suffix chains with a bounded push-down stack.
#include <cstddef>
#include <cstdint>

class TGifBitReader;

enum class TGifLzwStop {
    Complete,  // every pixel was stored
    EndCode,   // the end code came first
    OutOfData  // the data ran out first
};

class TGifLzwDecoder {
public:
    static constexpr int kMaxCodes = 4096;
    static constexpr int kMaxCodeSize = 11;  // largest minimum code size the decoder accepts
    using HeadWord = std::uintptr_t;

    // Decodes into out[0 .. count), which holds `fill` throughout; pixels the data does not
    // reach keep it. minCodeSize must be at most kMaxCodeSize. Raises "Circular decoder table
    // entry" when a chain of codes loops.
    TGifLzwStop Decode(TGifBitReader& bits, int minCodeSize, uint8_t* out, size_t count, uint8_t fill);

private:
    struct Run {
        HeadWord head;    // the string's first bytes (zero past its end)
        uint32_t pos;     // where the string lies in the output (strings of the table only)
        uint16_t len;     // 0 for the clear and end codes
        uint16_t prefix;  // the code it extends, for the table walk
    };

    void ResetWidths();
    void ResetTables(int from);
    void Widen();
    void TablesFromRuns(const uint8_t* out);
    void ResetRuns();
    TGifLzwStop DecodeRuns(TGifBitReader& bits, uint8_t* out, size_t count, size_t& pos);
    TGifLzwStop DecodeByChains(TGifBitReader& bits, uint8_t* out, size_t count, size_t& pos, int code, bool fresh);
    int PushString(int code);

    int clear_ = 0, end_ = 0, codeSize_ = 0;
    int width_ = 0, limit_ = 0, free_ = 0;
    int prev_ = 0, first_ = 0;
    uint16_t prefix_[kMaxCodes];
    uint16_t suffix_[kMaxCodes];
    Run runs_[kMaxCodes];
    uint16_t stack_[kMaxCodes + 1];
};
