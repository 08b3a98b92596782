#pragma once
// libjpeg's data source and destination over the program's streams, through 4096-byte
// buffers.
#include <cstdint>

#include "base/Streams.h"
#include "picture/jpeg/JpegLib.h"

inline constexpr size_t JpegStreamBufferSize = 4096;

// Reads from the stream's position on. A stream that is empty from the start is libjpeg's
// error 42; one that ends early is a warning (120), and an end-of-image marker is supplied
// so that decoding ends normally with whatever was there.
class TJpegStreamSource {
public:
    TJpegStreamSource() = default;
    TJpegStreamSource(const TJpegStreamSource&) = delete;
    TJpegStreamSource& operator=(const TJpegStreamSource&) = delete;

    void Attach(j_decompress_ptr info, TStream& stream);

private:
    static void Init(j_decompress_ptr info);
    static boolean Fill(j_decompress_ptr info);
    static void Skip(j_decompress_ptr info, long count);
    static void Term(j_decompress_ptr info);

    struct LibraryHook {
        jpeg_source_mgr manager;  // first member: libjpeg hands back its address
        TJpegStreamSource* owner;
    };
    LibraryHook hook_{};
    TStream* stream_ = nullptr;
    bool startOfFile_ = true;
    JOCTET buffer_[JpegStreamBufferSize];
};

// Writes to the stream at its position. A short write is libjpeg's error 37.
class TJpegStreamDestination {
public:
    TJpegStreamDestination() = default;
    TJpegStreamDestination(const TJpegStreamDestination&) = delete;
    TJpegStreamDestination& operator=(const TJpegStreamDestination&) = delete;

    void Attach(j_compress_ptr info, TStream& stream);

private:
    static void Init(j_compress_ptr info);
    static boolean Empty(j_compress_ptr info);
    static void Term(j_compress_ptr info);
    void WriteOut(j_compress_ptr info, size_t count);

    struct LibraryHook {
        jpeg_destination_mgr manager;  // first member: libjpeg hands back its address
        TJpegStreamDestination* owner;
    };
    LibraryHook hook_{};
    TStream* stream_ = nullptr;
    JOCTET buffer_[JpegStreamBufferSize];
};
