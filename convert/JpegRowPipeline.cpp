#include "convert/JpegRowPipeline.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "base/Exceptions.h"

namespace {

// Rows are taken over in batches of this many, so that the coder does not wake for each one.
constexpr int BatchRows = 16;

// What the decoding thread tells the coding one: how many rows from the top are final, and
// whether it has ended (and with which error). The coder may call the decode off.
class TRowHandOver {
public:
    // Runs the decode on the calling thread and records its end.
    template <typename Decode>
    void Run(Decode decode) {
        std::exception_ptr error;
        try {
            decode();
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard<std::mutex> lock(mutex_);
        error_ = error;
        ended_ = true;
        ready_.notify_one();
    }

    // From the decoder: rows 0 .. count - 1 are final. Throws EAbort once called off.
    void Publish(int count) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (calledOff_) throw EAbort("");
        rows_ = count;
        if (rows_ >= wanted_) ready_.notify_one();
    }

    // Waits until `wanted` rows are final or the decoder has ended. The number of final
    // rows; all of them once the decoder ended well, -1 when it failed.
    int WaitFor(int wanted, int allRows) {
        std::unique_lock<std::mutex> lock(mutex_);
        wanted_ = wanted;
        ready_.wait(lock, [&] { return rows_ >= wanted_ || ended_; });
        if (!ended_) return rows_;
        return error_ ? -1 : allRows;
    }

    void CallOff() {
        std::lock_guard<std::mutex> lock(mutex_);
        calledOff_ = true;
    }
    void RethrowError() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (error_) std::rethrow_exception(error_);
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    int rows_ = 0;
    int wanted_ = 1;
    bool ended_ = false;
    bool calledOff_ = false;
    std::exception_ptr error_;
};

// The decoder's target on its thread: the rows prepared beforehand, and word of each batch.
class THandedOverRows : public TJpegDecodeTarget {
public:
    THandedOverRows(const TJpegRows& rows, int32_t width, int32_t height, TRowHandOver& handOver)
        : rows_(rows), width_(width), height_(height), handOver_(handOver) {}

    TJpegRows PrepareRows(int32_t width, int32_t height, int bitsPerPixel) override {
        if (width != width_ || height != height_ || bitsPerPixel != 24)
            throw std::logic_error("the JPEG decodes to other rows than its header promised");
        return rows_;
    }
    void SetPalette(const std::vector<TJpegColor>&) override {}
    void RowsDecoded(int32_t rowCount) override { handOver_.Publish(rowCount); }

private:
    TJpegRows rows_;
    int32_t width_, height_;
    TRowHandOver& handOver_;
};

// The decoding thread, called off and joined on every way out.
class TDecoderThread {
public:
    template <typename Decode>
    TDecoderThread(TRowHandOver& handOver, Decode decode)
        : handOver_(handOver), thread_([&handOver, decode] { handOver.Run(decode); }) {}
    ~TDecoderThread() {
        if (!thread_.joinable()) return;
        handOver_.CallOff();
        thread_.join();
    }
    void Join() { thread_.join(); }

private:
    TRowHandOver& handOver_;
    std::thread thread_;
};

}  // namespace

bool JpegDecodesToTrueColor(const TJpegHeader& header, const TJpegSettings& settings) {
    return !header.IsGray && !settings.GrayOutput && settings.OutputDepth == TJpegOutputDepth::Bits24;
}

void PipeJpegRows(TStream& compressed, const TJpegSettings& settings, TJpegDecodeTarget& target,
                  const TJpegRowSinkFactory& makeSink) {
    const int64_t start = compressed.Position();
    const TJpegHeader header = ReadJpegHeader(compressed, settings.ReductionScale);
    compressed.SetPosition(start);
    const int32_t width = header.ScaledWidth, height = header.ScaledHeight;
    const TJpegRows rows = target.PrepareRows(width, height, 24);

    TRowHandOver handOver;
    THandedOverRows decodeTarget(rows, width, height, handOver);
    TDecoderThread decoder(handOver, [&] { DecodeJpeg(compressed, settings, decodeTarget); });
    std::unique_ptr<TJpegRowSink> sink = makeSink(width, height);
    for (int next = 0; next < height;) {
        const int ready = handOver.WaitFor(std::min(height, next + BatchRows), height);
        if (ready < 0) break;
        for (; next < ready; ++next) sink->AddRow(rows.FirstRow + static_cast<ptrdiff_t>(next) * rows.RowStep);
    }
    decoder.Join();
    handOver.RethrowError();
    sink->Finish();
}
