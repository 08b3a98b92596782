#pragma once
// Arithmetic on sizes that come from files: every product and sum is checked before
// anything is allocated from it.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

template <typename T>
std::optional<T> CheckedMul(T a, T b) {
    T result;
    if (__builtin_mul_overflow(a, b, &result)) return std::nullopt;
    return result;
}

template <typename T>
std::optional<T> CheckedAdd(T a, T b) {
    T result;
    if (__builtin_add_overflow(a, b, &result)) return std::nullopt;
    return result;
}

// Bytes of one row of `width` pixels at `bitsPerPixel`, padded to a 4-byte boundary, or
// nothing when that does not fit in 32 bits.
inline std::optional<uint32_t> AlignedRowBytes(uint32_t width, uint32_t bitsPerPixel) {
    auto bits = CheckedMul<uint64_t>(width, bitsPerPixel);
    if (!bits) return std::nullopt;
    uint64_t bytes = ((*bits + 31) / 32) * 4;
    if (bytes > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    return static_cast<uint32_t>(bytes);
}
