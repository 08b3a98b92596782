// The two-thread JPEG to GIF conversion against the same stages run one after the other: the
// same bytes for every kind of picture, and on a failure of either side the same error, with
// both threads ended.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "convert/JpegGifPipeline.h"
#include "gif/colour/TrueColorAssign.h"
#include "portable/jpeg/JpegTestSupport.h"

namespace {

std::vector<uint8_t> GifInTurn(const std::vector<uint8_t>& jpeg, const TJpegSettings& settings, bool bottomUp) {
    MemoryDecodeTarget decoded = DecodeBytes(jpeg, settings, bottomUp);
    TGIFImageModel image;
    AssignTrueColor(image, {decoded.Width(), decoded.Height(), [&](int y) { return decoded.Row(y); }});
    TMemoryStream out;
    image.SaveToStream(out);
    return out.Bytes();
}

std::vector<uint8_t> GifOnTwoThreads(TStream& jpeg, const TJpegSettings& settings, bool bottomUp) {
    MemoryDecodeTarget rows(bottomUp);
    TMemoryStream out;
    PipeJpegToGif(jpeg, settings, rows, out);
    return out.Bytes();
}

// The message of what the call throws, or "" when it returns.
template <typename Call>
std::string ErrorOf(Call call) {
    try {
        call();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

// A JPEG file whose reading fails part of the way through, as a file on a lost network drive.
class FailingStream : public TMemoryStream {
public:
    FailingStream(std::vector<uint8_t> bytes, size_t failAt) : TMemoryStream(std::move(bytes)), failAt_(failAt) {}
    size_t Read(void* buffer, size_t count) override {
        if (Position() + static_cast<int64_t>(count) > static_cast<int64_t>(failAt_)) throw EReadError("read failed");
        return TMemoryStream::Read(buffer, count);
    }

private:
    size_t failAt_;
};

// A GIF target that refuses to take more than so many bytes.
class FullStream : public TMemoryStream {
public:
    explicit FullStream(size_t room) : room_(room) {}
    size_t Write(const void* buffer, size_t count) override {
        if (Size() + static_cast<int64_t>(count) > static_cast<int64_t>(room_)) throw EWriteError("disk full");
        return TMemoryStream::Write(buffer, count);
    }

private:
    size_t room_;
};

// A JPEG file read slowly, as from a network drive: the decoder is still at work when the
// GIF side fails, and how far it read tells whether it was called off.
class SlowStream : public TMemoryStream {
public:
    using TMemoryStream::TMemoryStream;
    size_t Read(void* buffer, size_t count) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        return TMemoryStream::Read(buffer, count);
    }
};

struct PipelineCase {
    const char* name;
    int width, height;
    bool progressiveFile, showProgressively, bottomUp;
    TJpegReductionScale scale;
    size_t truncateTo;  // 0: the whole file
    int orientation = 1;  // of an EXIF segment in the file
};

TEST(JpegGifPipeline, WritesTheBytesOfTheStagesInTurn) {
    const PipelineCase cases[] = {
        {"one pixel", 1, 1, false, false, false, TJpegReductionScale::Full, 0},
        {"odd sizes", 17, 33, false, false, true, TJpegReductionScale::Full, 0},
        {"many batches and table clears", 333, 277, false, false, true, TJpegReductionScale::Full, 0},
        {"shown progressively", 250, 190, true, true, true, TJpegReductionScale::Full, 0},
        {"progressive file read at once", 250, 190, true, false, false, TJpegReductionScale::Full, 0},
        {"at half size", 401, 203, false, false, true, TJpegReductionScale::Half, 0},
        {"cut short", 320, 240, false, false, true, TJpegReductionScale::Full, 9000},
        {"turned upright", 250, 190, false, false, true, TJpegReductionScale::Full, 0, 6},
        {"mirrored, progressive file", 250, 190, true, false, false, TJpegReductionScale::Full, 0, 4},
    };
    for (const PipelineCase& c : cases) {
        SCOPED_TRACE(c.name);
        TJpegSettings encoding;
        encoding.WriteProgressive = c.progressiveFile;
        std::vector<uint8_t> jpeg = EncodeToBytes(MakeSyntheticPhoto(c.width, c.height), encoding);
        if (c.truncateTo) jpeg.resize(c.truncateTo);
        if (c.orientation != 1) jpeg = WithApp1(jpeg, OrientationSegment(c.orientation));
        TJpegSettings decoding;
        decoding.ShowProgressively = c.showProgressively;
        decoding.ReductionScale = c.scale;
        TMemoryStream in(jpeg);
        const std::vector<uint8_t> ours = GifOnTwoThreads(in, decoding, c.bottomUp);
        ASSERT_GT(ours.size(), 13u + 10u + 3u * 256u);  // header, descriptor, colour table
        EXPECT_EQ(ours, GifInTurn(jpeg, decoding, c.bottomUp));
    }
}

TEST(JpegGifPipeline, AFailureOnEitherSideEndsBothWithItsError) {
    const std::vector<uint8_t> jpeg = EncodeToBytes(MakeSyntheticPhoto(640, 480));
    // The decoder fails half way: its error, as decoding alone gives it.
    auto failingDecode = [&] {
        FailingStream in(jpeg, jpeg.size() / 2);
        MemoryDecodeTarget rows;
        DecodeJpeg(in, {}, rows);
    };
    const std::string decodeError = ErrorOf(failingDecode);
    ASSERT_NE(decodeError, "");
    EXPECT_EQ(ErrorOf([&] {
                  FailingStream in(jpeg, jpeg.size() / 2);
                  GifOnTwoThreads(in, {}, false);
              }),
              decodeError);
    // The GIF side fails early: the decoder is called off, long before the end of its file,
    // and the writer's error comes out.
    SlowStream slow(EncodeToBytes(MakeSyntheticPhoto(1600, 1200)));
    EXPECT_EQ(ErrorOf([&] {
                  MemoryDecodeTarget rows;
                  FullStream out(2000);
                  PipeJpegToGif(slow, {}, rows, out);
              }),
              "disk full");
    EXPECT_LT(slow.Position(), slow.Size() / 2) << "the decoder read on to the end";
    // A picture too large to hold: the target's error, before any thread starts.
    std::vector<uint8_t> huge = jpeg;
    for (size_t i = 0; i + 8 < huge.size(); ++i) {
        if (huge[i] != 0xFF || huge[i + 1] != 0xC0) continue;
        huge[i + 5] = huge[i + 7] = 0xEA;  // 60000 x 60000 (0xEA60)
        huge[i + 6] = huge[i + 8] = 0x60;
        break;
    }
    EXPECT_EQ(ErrorOf([&] {
                  TMemoryStream in(huge);
                  GifOnTwoThreads(in, {}, false);
              }),
              "too large");
}

TEST(JpegGifPipeline, TakesOnlyPicturesThatDecodeToTwentyFourBits) {
    TJpegHeader colour;
    TJpegHeader grey;
    grey.IsGray = true;
    TJpegSettings eightBits;
    eightBits.OutputDepth = TJpegOutputDepth::Bits8;
    TJpegSettings greyOutput;
    greyOutput.GrayOutput = true;
    EXPECT_TRUE(JpegDecodesToTrueColor(colour, {}));
    EXPECT_FALSE(JpegDecodesToTrueColor(grey, {}));
    EXPECT_FALSE(JpegDecodesToTrueColor(colour, eightBits));
    EXPECT_FALSE(JpegDecodesToTrueColor(colour, greyOutput));
}

}  // namespace
