#pragma once
// A JPEG photograph decoded on one thread while the other takes the rows already decoded and
// writes them out (reduced and LZW-coded into a GIF, filtered and deflated into a PNG), so
// that the whole conversion takes about as long as its slower half. A photo that its EXIF
// orientation turns upright has its rows final only once all are decoded, so for it the two
// halves run one after the other.
#include <cstdint>
#include <functional>
#include <memory>

#include "base/Streams.h"
#include "picture/jpeg/JpegDecoder.h"

// True when the picture decodes to 24 bits per pixel with these settings: not grey, and not
// quantised to 8 bits.
bool JpegDecodesToTrueColor(const TJpegHeader& header, const TJpegSettings& settings);

// What takes the decoded rows on the calling thread: blue, green, red rows from the top, then
// the end.
class TJpegRowSink {
public:
    virtual ~TJpegRowSink() = default;
    virtual void AddRow(const uint8_t* bgr) = 0;
    virtual void Finish() = 0;
};
using TJpegRowSinkFactory = std::function<std::unique_ptr<TJpegRowSink>(int32_t width, int32_t height)>;

// A writer with AddRow and Finish as a row sink.
template <typename Writer>
class TJpegRowWriter : public TJpegRowSink {
public:
    template <typename... Args>
    explicit TJpegRowWriter(Args&&... args) : writer_(std::forward<Args>(args)...) {}
    void AddRow(const uint8_t* bgr) override { writer_.AddRow(bgr); }
    void Finish() override { writer_.Finish(); }

private:
    Writer writer_;
};

// Decodes the JPEG data from the stream's position, with the settings, into the rows the
// target prepares (on another thread, at 24 bits: JpegDecodesToTrueColor must hold), and hands
// them to the sink made for the picture's size meanwhile, on this thread. The first error of
// either side (the decoder's EJPEG, the target's, the sink's) is thrown once both threads have
// ended; whatever the sink wrote is then to be thrown away.
void PipeJpegRows(TStream& compressed, const TJpegSettings& settings, TJpegDecodeTarget& target,
                  const TJpegRowSinkFactory& makeSink);
