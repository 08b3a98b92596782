#pragma once
// A bounds-checked little-endian reader over a span of bytes. Every read compares against
// the bytes that remain; a read past the end throws the error the caller chose, it never
// returns silent zeros.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "base/Exceptions.h"

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : begin_(data), pos_(data), end_(data + size) {}

    size_t Remaining() const { return static_cast<size_t>(end_ - pos_); }
    size_t Position() const { return static_cast<size_t>(pos_ - begin_); }
    size_t Size() const { return static_cast<size_t>(end_ - begin_); }
    bool AtEnd() const { return pos_ == end_; }
    const uint8_t* Current() const { return pos_; }

    // Moves to an absolute offset; false (and no move) when it lies past the end.
    bool SeekTo(size_t offset) {
        if (offset > Size()) return false;
        pos_ = begin_ + offset;
        return true;
    }
    bool Has(size_t n) const { return n <= Remaining(); }

    // Each Read* throws EType(message) when too few bytes remain.
    template <typename EType = EReadError>
    uint8_t ReadU8(const char* message = ErrorText::StreamRead) {
        Require<EType>(1, message);
        return *pos_++;
    }
    template <typename EType = EReadError>
    uint16_t ReadU16LE(const char* message = ErrorText::StreamRead) {
        Require<EType>(2, message);
        uint16_t v = static_cast<uint16_t>(pos_[0] | (pos_[1] << 8));
        pos_ += 2;
        return v;
    }
    template <typename EType = EReadError>
    uint32_t ReadU32LE(const char* message = ErrorText::StreamRead) {
        Require<EType>(4, message);
        uint32_t v = static_cast<uint32_t>(pos_[0]) | (static_cast<uint32_t>(pos_[1]) << 8) |
                     (static_cast<uint32_t>(pos_[2]) << 16) | (static_cast<uint32_t>(pos_[3]) << 24);
        pos_ += 4;
        return v;
    }
    template <typename EType = EReadError>
    int32_t ReadI32LE(const char* message = ErrorText::StreamRead) {
        return static_cast<int32_t>(ReadU32LE<EType>(message));
    }
    template <typename EType = EReadError>
    void ReadBytes(void* out, size_t n, const char* message = ErrorText::StreamRead) {
        Require<EType>(n, message);
        if (n) std::memcpy(out, pos_, n);
        pos_ += n;
    }
    template <typename EType = EReadError>
    const uint8_t* Skip(size_t n, const char* message = ErrorText::StreamRead) {
        Require<EType>(n, message);
        const uint8_t* at = pos_;
        pos_ += n;
        return at;
    }

private:
    template <typename EType>
    void Require(size_t n, const char* message) const {
        if (n > Remaining()) throw EType(message);
    }

    const uint8_t* begin_;
    const uint8_t* pos_;
    const uint8_t* end_;
};

// Little-endian writers into a byte vector sink.
#include <vector>
inline void PutU8(std::vector<uint8_t>& sink, uint8_t v) { sink.push_back(v); }
inline void PutU16LE(std::vector<uint8_t>& sink, uint16_t v) {
    sink.push_back(static_cast<uint8_t>(v));
    sink.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutU32LE(std::vector<uint8_t>& sink, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) sink.push_back(static_cast<uint8_t>(v >> shift));
}
inline void PutBytes(std::vector<uint8_t>& sink, const void* data, size_t n) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    sink.insert(sink.end(), p, p + n);
}
