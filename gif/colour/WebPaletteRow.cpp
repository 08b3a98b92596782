#include "gif/colour/WebPaletteRow.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define TERVANE_WEB_ROW_SIMD 1
#endif

namespace {

struct TLevelTables {
    uint8_t red[256], green[256], blue[256];
    TLevelTables() {
        for (int v = 0; v < 256; ++v) {
            const int level = (v + 3) / 51;
            red[v] = static_cast<uint8_t>(36 * level);
            green[v] = static_cast<uint8_t>(6 * level);
            blue[v] = static_cast<uint8_t>(level);
        }
    }
};

const TLevelTables& Levels() {
    static const TLevelTables tables;
    return tables;
}

#ifdef TERVANE_WEB_ROW_SIMD
// (c + 3) div 51 equals ((c + 3) x 1286) >> 16 for every byte value c: the error of the
// multiplier stays below 0.004 over 3 .. 258, and no quotient lies that close below an integer.
__attribute__((target("ssse3"))) __m128i LevelsOf(__m128i bytes, __m128i zero) {
    const __m128i three = _mm_set1_epi16(3), scale = _mm_set1_epi16(1286);
    __m128i low = _mm_mulhi_epu16(_mm_add_epi16(_mm_unpacklo_epi8(bytes, zero), three), scale);
    __m128i high = _mm_mulhi_epu16(_mm_add_epi16(_mm_unpackhi_epi8(bytes, zero), three), scale);
    return _mm_packus_epi16(low, high);
}

// The shuffles that pick channel k of pixels 0..15 out of three 16-byte loads.
alignas(16) constexpr int8_t kPick[3][3][16] = {
    {{0, 3, 6, 9, 12, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
     {-1, -1, -1, -1, -1, -1, 2, 5, 8, 11, 14, -1, -1, -1, -1, -1},
     {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 1, 4, 7, 10, 13}},
    {{1, 4, 7, 10, 13, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
     {-1, -1, -1, -1, -1, 0, 3, 6, 9, 12, 15, -1, -1, -1, -1, -1},
     {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 2, 5, 8, 11, 14}},
    {{2, 5, 8, 11, 14, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1},
     {-1, -1, -1, -1, -1, 1, 4, 7, 10, 13, -1, -1, -1, -1, -1, -1},
     {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 3, 6, 9, 12, 15}},
};

__attribute__((target("ssse3"))) __m128i Pick(int channel, int part) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(kPick[channel][part]));
}

// Sixteen pixels a step: the three channels are gathered out of 48 bytes with byte
// shuffles, turned into levels and combined as 36 r + 6 g + b (at most 215, so bytes do).
__attribute__((target("ssse3"))) int MapRowSsse3(const uint8_t* bgr, uint8_t* indices, int width) {
    const __m128i zero = _mm_setzero_si128();
    int x = 0;
    for (; x + 16 <= width; x += 16, bgr += 48) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 32));
        __m128i channel[3];
        for (int k = 0; k < 3; ++k)
            channel[k] = LevelsOf(
                _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, Pick(k, 0)), _mm_shuffle_epi8(b, Pick(k, 1))),
                             _mm_shuffle_epi8(c, Pick(k, 2))),
                zero);
        const __m128i blue = channel[0], green = channel[1], red = channel[2];
        // 36 r = 32 r + 4 r; 6 g = 4 g + 2 g; bytes cannot carry into each other (all < 256).
        __m128i sum = _mm_add_epi8(blue, _mm_add_epi8(green, green));
        sum = _mm_add_epi8(sum, _mm_slli_epi16(_mm_add_epi8(green, red), 2));
        sum = _mm_add_epi8(sum, _mm_and_si128(_mm_slli_epi16(red, 5), _mm_set1_epi8(static_cast<char>(0xE0))));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(indices + x), sum);
    }
    return x;
}

// The same on 256-bit registers, 32 pixels a step: each 128-bit half does what one step above
// does, the upper half on the 48 bytes after the lower half's. Where memory keeps up (a large
// cache holds much of a picture) the work per pixel, not the memory, sets the pace. A 32-bit
// build aligns its own stack in these functions (Windows keeps it to 4 bytes only).
__attribute__((target("avx2"))) __m256i LevelsOf256(__m256i bytes, __m256i zero) {
    const __m256i three = _mm256_set1_epi16(3), scale = _mm256_set1_epi16(1286);
    __m256i low = _mm256_mulhi_epu16(_mm256_add_epi16(_mm256_unpacklo_epi8(bytes, zero), three), scale);
    __m256i high = _mm256_mulhi_epu16(_mm256_add_epi16(_mm256_unpackhi_epi8(bytes, zero), three), scale);
    return _mm256_packus_epi16(low, high);
}

__attribute__((target("avx2"))) __m256i LoadHalves(const uint8_t* low, const uint8_t* high) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low))),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(high)), 1);
}

__attribute__((target("avx2"))) __m256i Pick256(int channel, int part) {
    return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(kPick[channel][part])));
}

__attribute__((target("avx2"))) int MapRowAvx2(const uint8_t* bgr, uint8_t* indices, int width) {
    const __m256i zero = _mm256_setzero_si256();
    int x = 0;
    for (; x + 32 <= width; x += 32, bgr += 96) {
        const __m256i a = LoadHalves(bgr, bgr + 48);
        const __m256i b = LoadHalves(bgr + 16, bgr + 64);
        const __m256i c = LoadHalves(bgr + 32, bgr + 80);
        __m256i channel[3];
        for (int k = 0; k < 3; ++k)
            channel[k] = LevelsOf256(
                _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(a, Pick256(k, 0)), _mm256_shuffle_epi8(b, Pick256(k, 1))),
                                _mm256_shuffle_epi8(c, Pick256(k, 2))),
                zero);
        const __m256i blue = channel[0], green = channel[1], red = channel[2];
        __m256i sum = _mm256_add_epi8(blue, _mm256_add_epi8(green, green));
        sum = _mm256_add_epi8(sum, _mm256_slli_epi16(_mm256_add_epi8(green, red), 2));
        sum = _mm256_add_epi8(sum,
                              _mm256_and_si256(_mm256_slli_epi16(red, 5), _mm256_set1_epi8(static_cast<char>(0xE0))));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(indices + x), sum);
    }
    return x;
}
#endif

}  // namespace

void MapRowToWebPalettePlain(const uint8_t* bgr, uint8_t* indices, int width) {
    const TLevelTables& t = Levels();
    for (int x = 0; x < width; ++x, bgr += 3)
        indices[x] = static_cast<uint8_t>(t.blue[bgr[0]] + t.green[bgr[1]] + t.red[bgr[2]]);
}

void MapRowToWebPalette(const uint8_t* bgr, uint8_t* indices, int width) {
    int done = 0;
#ifdef TERVANE_WEB_ROW_SIMD
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) done = MapRowAvx2(bgr, indices, width);
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3) done += MapRowSsse3(bgr + 3 * static_cast<size_t>(done), indices + done, width - done);
#endif
    MapRowToWebPalettePlain(bgr + 3 * static_cast<size_t>(done), indices + done, width - done);
}
