#pragma once
// Loading a GIF: the signature, the logical screen and its colour table, then frame after
// frame (extensions, image descriptor, local colour table, LZW data) up to the trailer.
// Frames are handed to the listener as soon as they are read, so the frames read before an
// error stay with the caller.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "gif/GifBlockParser.h"
#include "gif/GifReadRecords.h"

class ByteReader;
class TStream;
class TGifLzwDecoder;
struct TGifGatheredData;

class TGifReadListener : public TGifWarningSink {
public:
    virtual void Screen(TGifScreenRecord& screen) = 0;
    virtual void Frame(TGifFrameRecord& frame) = 0;  // may move from the record
    virtual void Progress(int /*percent*/) {}
};

class TGifReader {
public:
    // What one load may allocate for pixels and records before it gives up with "Out of
    // memory": a hostile file of a few bytes can declare frames of 65535 x 65535.
    static constexpr uint64_t kDefaultMemoryBudget = uint64_t{256} << 20;

    explicit TGifReader(TGifReadListener& listener, uint64_t memoryBudget = kDefaultMemoryBudget);
    ~TGifReader();

    // Reads from the stream's position. On an error the stream is put back where loading
    // began and the error passes on; on success it stands after the trailer.
    void Load(TStream& stream);
    // Parses data[0 .. size) and returns the bytes consumed. progressBase and progressTotal
    // place the data inside a larger stream for the progress percentages.
    size_t Parse(const uint8_t* data, size_t size, uint64_t progressBase = 0, uint64_t progressTotal = 0);

private:
    void ReadHeader(ByteReader& in);
    void ReadFrame(ByteReader& in, TGifFrameRecord& frame);
    void ReadExtensions(ByteReader& in, TGifFrameRecord& frame);
    void ReadDescriptor(ByteReader& in, TGifFrameRecord& frame);
    void DecodePixels(ByteReader& in, TGifFrameRecord& frame);
    void Charge(uint64_t bytes);

    TGifReadListener& listener_;
    uint64_t budget_;
    TGifScreenRecord screen_;
    std::unique_ptr<TGifLzwDecoder> decoder_;
    std::unique_ptr<TGifGatheredData> gathered_;
};

// Reads a colour table of `entries` RGB triples ("Premature end of data" when short).
TGifColorTable ReadColorTable(ByteReader& in, size_t entries);
// The order in which an interlaced frame's rows arrive: 0, 8, 16, ... then 4, 12, ... then
// 2, 6, ... then 1, 3, ...; every row of a frame of any height appears once.
void InterlacedRowOrder(uint32_t height, std::vector<uint32_t>& rows);
