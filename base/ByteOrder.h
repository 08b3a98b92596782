#pragma once
// Words read from or written to bytes that are little-endian whatever the machine (GIF's code
// stream, a string's first bytes kept in a word): swapped on a big-endian machine, as they are
// on every other.
#include <cstdint>
#include <type_traits>

template <typename Word>
constexpr Word LittleEndian(Word v) {
    static_assert(std::is_unsigned_v<Word> && (sizeof(Word) == 4 || sizeof(Word) == 8), "a 32- or 64-bit word");
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    if constexpr (sizeof(Word) == 8) return static_cast<Word>(__builtin_bswap64(v));
    else return static_cast<Word>(__builtin_bswap32(v));
#else
    return v;
#endif
}
