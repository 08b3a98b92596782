#pragma once
// Loading a GIF into the picture's object model: the signature, the logical screen and its
// colour table, then frame after frame (extensions, image descriptor, local colour table, LZW
// data) up to the trailer. Each frame joins the picture as soon as it is read, so the frames
// read before an error stay. The whole file is parsed from memory through a bounds-checked
// reader; a hostile file can neither read outside its data nor make the reader allocate
// beyond a fixed budget.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class ByteReader;
class TStream;
class TGIFImageModel;
class TGIFSubImage;
class TGifLzwDecoder;
class TGifSubBlockJoiner;

class TGifReader {
public:
    // What one load may allocate for pixels and blocks before it gives up with "Out of memory":
    // a file of a few bytes can declare frames of 65535 x 65535.
    static constexpr uint64_t DefaultMemoryBudget = uint64_t{256} << 20;

    explicit TGifReader(TGIFImageModel& image, uint64_t memoryBudget = DefaultMemoryBudget);
    ~TGifReader();

    // Reads a whole file from the stream's position into the (cleared) picture. On an error
    // the stream is put back where loading began and the error passes on.
    void Load(TStream& stream);
    // The same over bytes in memory; returns the bytes consumed. progressBase and
    // progressTotal place the bytes inside a larger stream for the progress percentages.
    size_t Parse(const uint8_t* data, size_t size, uint64_t progressBase = 0, uint64_t progressTotal = 0);

    // Single blocks, for the object model's own stream loading.
    void LoadHeader(TStream& stream);
    void LoadFrame(TStream& stream, TGIFSubImage& frame);

private:
    void ReadHeader(ByteReader& in);
    void ReadFrame(ByteReader& in, TGIFSubImage& frame);
    void ReadExtensions(ByteReader& in, TGIFSubImage& frame);
    void ReadDescriptor(ByteReader& in, TGIFSubImage& frame);
    void DecodePixels(ByteReader& in, TGIFSubImage& frame);
    void Charge(uint64_t bytes);
    using BytesParser = std::function<size_t(const uint8_t* data, size_t size, uint64_t base, uint64_t total)>;
    void ParseStream(TStream& stream, const BytesParser& parse);

    TGIFImageModel& image_;
    uint64_t budget_;
    std::unique_ptr<TGifLzwDecoder> decoder_;
    std::unique_ptr<TGifSubBlockJoiner> joiner_;
};

// The order in which an interlaced frame's rows arrive: 0, 8, 16, ... then 4, 12, ... then
// 2, 6, ... then 1, 3, ...; every row of a frame of any height appears once.
void InterlacedRowOrder(uint32_t height, std::vector<uint32_t>& rows);
