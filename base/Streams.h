#pragma once
// Byte streams: the abstract stream, a memory stream, and (FileStream.h) files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class TSeekOrigin { Beginning, Current, End };

class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to count bytes and returns how many were read (0 at the end).
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Writes up to count bytes and returns how many were written.
    virtual size_t Write(const void* buffer, size_t count) = 0;
    // Moves the position and returns the new one.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t Size();
    virtual void SetSize(int64_t newSize) = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::Current); }
    void SetPosition(int64_t position) { Seek(position, TSeekOrigin::Beginning); }
    int64_t Remaining() { return Size() - Position(); }

    // Read or write exactly count bytes, or throw EReadError / EWriteError.
    void ReadBuffer(void* buffer, size_t count);
    void WriteBuffer(const void* buffer, size_t count);
    // Copies count bytes from source (all of it, from its start, when count is 0).
    int64_t CopyFrom(TStream& source, int64_t count);
    // The rest of the stream from the current position.
    std::vector<uint8_t> ReadRemaining();
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(bytes_.size()); }
    void SetSize(int64_t newSize) override;

    void Clear();
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::vector<uint8_t>& Bytes() { return bytes_; }
    const uint8_t* Memory() const { return bytes_.data(); }
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& target);

private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};
