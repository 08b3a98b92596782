#pragma once
// A file's bytes read a piece at a time, for what needs only a few pieces of a large file:
// counting a library's icon groups reads its headers and the top of its resource tree, not
// the whole file. Memory and a Windows file handle (FileByteSource_win) both serve it.
#include <cstddef>
#include <cstdint>
#include <vector>

class TByteSource {
public:
    virtual ~TByteSource() = default;
    // Copies up to `n` bytes at `offset`; returns how many the file held there (fewer at its
    // end, none past it or when the file cannot be read).
    virtual size_t ReadSome(uint64_t offset, uint8_t* out, size_t n) = 0;
    // The file's length in bytes (0 when it cannot be told).
    virtual uint64_t Size() = 0;

    // All `n` bytes at `offset`, or false.
    bool ReadAt(uint64_t offset, uint8_t* out, size_t n) { return ReadSome(offset, out, n) == n; }
};

class TMemorySource : public TByteSource {
public:
    TMemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t ReadSome(uint64_t offset, uint8_t* out, size_t n) override;
    uint64_t Size() override { return size_; }

private:
    const uint8_t* data_;
    size_t size_;
};

// Serves small reads from one block of the source kept in memory, so that the dozens of
// fields a header walk reads near each other cost one read of the file. A read larger than
// the block goes straight to the source.
class TBlockBuffer : public TByteSource {
public:
    static constexpr size_t kDefaultBlockSize = 4096;
    explicit TBlockBuffer(TByteSource& source, size_t blockSize = kDefaultBlockSize);
    size_t ReadSome(uint64_t offset, uint8_t* out, size_t n) override;
    uint64_t Size() override { return source_.Size(); }

private:
    bool Holds(uint64_t offset, size_t n) const;
    void Load(uint64_t offset, size_t n);

    TByteSource& source_;
    std::vector<uint8_t> block_;
    uint64_t blockAt_ = 0;
    size_t blockHeld_ = 0;
};
