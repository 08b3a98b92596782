// The encode and decode loops, the stream glue and the error mapping, without windows.
#include <gtest/gtest.h>

#include "JpegTestSupport.h"
#include "base/Exceptions.h"

namespace {

const SyntheticPhoto& SmallPhoto() {
    static const SyntheticPhoto photo = MakeSyntheticPhoto(67, 45);
    return photo;
}

TEST(JpegEncoding, QualityZeroWritesTheSameFileAsQualityOne) {
    auto zero = EncodeToBytes(SmallPhoto(), QualitySettings(0));
    auto one = EncodeToBytes(SmallPhoto(), QualitySettings(1));
    auto two = EncodeToBytes(SmallPhoto(), QualitySettings(2));
    EXPECT_EQ(zero, one);
    EXPECT_NE(one, two);
}

TEST(JpegEncoding, QualityHundredMakesEveryQuantisationEntryOne) {
    auto tables = QuantisationTables(EncodeToBytes(SmallPhoto(), QualitySettings(100)));
    ASSERT_EQ(tables.size(), 2u);  // luminance and chrominance
    for (const auto& table : tables)
        for (int entry : table) EXPECT_EQ(entry, 1);
}

TEST(JpegEncoding, LowQualityKeepsBaselineTables) {
    // Forced baseline tables cap every entry at 255 and store it in 8 bits.
    auto tables = QuantisationTables(EncodeToBytes(SmallPhoto(), QualitySettings(1)));
    ASSERT_EQ(tables.size(), 2u);
    for (int entry : tables[0]) EXPECT_LE(entry, 255);
    EXPECT_EQ(*std::max_element(tables[0].begin(), tables[0].end()), 255);
}

TEST(JpegEncoding, DefaultQualityIsNinety) {
    EXPECT_EQ(EncodeToBytes(SmallPhoto()), EncodeToBytes(SmallPhoto(), QualitySettings(90)));
}

TEST(JpegEncoding, RowsOfEveryLayoutEncodeAlike) {
    // Packed rows whose step is no multiple of 4 go one by one; a negative step is a
    // bottom-up bitmap; both must give the same file as aligned top-down rows.
    SyntheticPhoto aligned = MakeSyntheticPhoto(67, 45);
    SyntheticPhoto packed = MakeSyntheticPhoto(67, 45, 67 * 3);
    std::vector<uint8_t> flipped(aligned.pixels.size());
    for (int32_t y = 0; y < aligned.height; ++y)
        std::copy(aligned.Row(y), aligned.Row(y) + aligned.rowStep,
                  flipped.begin() + (aligned.height - 1 - y) * aligned.rowStep);
    TJpegSourceRows bottomUp{flipped.data() + (aligned.height - 1) * aligned.rowStep, -aligned.rowStep, 67, 45};
    auto reference = EncodeToBytes(aligned);
    EXPECT_EQ(EncodeToBytes(packed), reference);
    EXPECT_EQ(EncodeToBytes(bottomUp, {}), reference);
}

TEST(JpegEncoding, GreyOutputWritesOneComponent) {
    TJpegSettings grey;
    grey.GrayOutput = true;
    auto bytes = EncodeToBytes(SmallPhoto(), grey);
    TMemoryStream in(bytes);
    TJpegHeader header = ReadJpegHeader(in);
    EXPECT_TRUE(header.IsGray);
    EXPECT_EQ(header.ImageWidth, 67);
    EXPECT_EQ(header.ImageHeight, 45);
}

TEST(JpegEncoding, ProgressiveOutputHasSeveralScans) {
    TJpegSettings progressive;
    progressive.WriteProgressive = true;
    TMemoryStream plain(EncodeToBytes(SmallPhoto()));
    TMemoryStream multi(EncodeToBytes(SmallPhoto(), progressive));
    EXPECT_FALSE(ReadJpegHeader(plain).MultiScan);
    EXPECT_TRUE(ReadJpegHeader(multi).MultiScan);
    // Same quantisation, other coding: the pictures agree to the last sample.
    EXPECT_EQ(DecodeBytes(multi.Bytes()).PackedRows(), DecodeBytes(plain.Bytes()).PackedRows());
}

// A stream that takes only so many bytes, like a full disk.
class ShortStream : public TMemoryStream {
public:
    explicit ShortStream(size_t room) : room_(room) {}
    size_t Write(const void* buffer, size_t count) override {
        size_t n = std::min(count, room_);
        room_ -= n;
        return TMemoryStream::Write(buffer, n);
    }

private:
    size_t room_;
};

TEST(JpegEncoding, ShortWriteIsJpegError37) {
    const SyntheticPhoto photo = MakeSyntheticPhoto(300, 200);
    for (size_t room : {size_t(0), size_t(5000)}) {
        ShortStream out(room);
        try {
            EncodeJpeg(RowsOf(photo), QualitySettings(100), out);
            FAIL() << "no error with room for " << room;
        } catch (const EJPEG& e) {
            EXPECT_EQ(e.Message(), "JPEG error #37");
            EXPECT_EQ(e.MessageCode(), 37);
        }
    }
}

TEST(JpegEncoding, WritesThroughBuffersOf4096Bytes) {
    class CountingStream : public TMemoryStream {
    public:
        std::vector<size_t> writes;
        size_t Write(const void* buffer, size_t count) override {
            writes.push_back(count);
            return TMemoryStream::Write(buffer, count);
        }
    } out;
    EncodeJpeg(RowsOf(MakeSyntheticPhoto(300, 200)), QualitySettings(95), out);
    ASSERT_GE(out.writes.size(), 3u);
    for (size_t i = 0; i + 1 < out.writes.size(); ++i) EXPECT_EQ(out.writes[i], 4096u);
    EXPECT_LE(out.writes.back(), 4096u);
    EXPECT_EQ(out.Bytes().size(), 4096u * (out.writes.size() - 1) + out.writes.back());
}

TEST(JpegDecoding, DecodesCloseToTheOriginal) {
    auto decoded = DecodeBytes(EncodeToBytes(SmallPhoto(), QualitySettings(95)));
    ASSERT_EQ(decoded.Width(), 67);
    ASSERT_EQ(decoded.Height(), 45);
    ASSERT_EQ(decoded.BitsPerPixel(), 24);
    EXPECT_LT(MeanDifference(decoded.PackedRows(), SmallPhoto().Packed()), 4.0);
    EXPECT_EQ(decoded.PaletteCalls(), 0);
}

TEST(JpegDecoding, BottomUpRowsHoldTheSamePicture) {
    auto bytes = EncodeToBytes(SmallPhoto());
    EXPECT_EQ(DecodeBytes(bytes, {}, true).PackedRows(), DecodeBytes(bytes).PackedRows());
}

TEST(JpegDecoding, GreyFileGivesEightBitsWithGreyPaletteEvenAtTwentyFourBits) {
    TJpegSettings greyWriter;
    greyWriter.GrayOutput = true;
    auto bytes = EncodeToBytes(SmallPhoto(), greyWriter);
    TJpegSettings reader;
    reader.OutputDepth = TJpegOutputDepth::Bits24;
    auto decoded = DecodeBytes(bytes, reader);
    EXPECT_EQ(decoded.BitsPerPixel(), 8);
    ASSERT_FALSE(decoded.Palette().empty());
    EXPECT_LE(decoded.Palette().size(), 236u);
    for (const TJpegColor& c : decoded.Palette()) {
        EXPECT_EQ(c.Red, c.Green);
        EXPECT_EQ(c.Green, c.Blue);
    }
    EXPECT_EQ(decoded.Palette().front(), (TJpegColor{0, 0, 0}));
    EXPECT_EQ(decoded.Palette().back(), (TJpegColor{255, 255, 255}));
}

TEST(JpegDecoding, GreyOutputOfAColourFile) {
    TJpegSettings reader;
    reader.GrayOutput = true;
    auto decoded = DecodeBytes(EncodeToBytes(SmallPhoto()), reader);
    EXPECT_EQ(decoded.BitsPerPixel(), 8);
    EXPECT_EQ(decoded.Palette().size(), 236u);
}

// Each 8-bit pixel looked up in its palette, as blue-green-red.
std::vector<uint8_t> ThroughPalette(const MemoryDecodeTarget& decoded) {
    std::vector<uint8_t> bgr;
    for (uint8_t index : decoded.PackedRows()) {
        const TJpegColor& c = decoded.Palette().at(index);
        bgr.insert(bgr.end(), {c.Blue, c.Green, c.Red});
    }
    return bgr;
}

TEST(JpegDecoding, EightBitOutputQuantisesTo236Colours) {
    auto bytes = EncodeToBytes(SmallPhoto(), QualitySettings(95));
    for (TJpegSpeedMode speed : {TJpegSpeedMode::BestQuality, TJpegSpeedMode::BestSpeed}) {
        TJpegSettings reader;
        reader.OutputDepth = TJpegOutputDepth::Bits8;
        reader.SpeedMode = speed;
        auto decoded = DecodeBytes(bytes, reader);
        EXPECT_EQ(decoded.BitsPerPixel(), 8);
        EXPECT_LE(decoded.Palette().size(), 236u);
        EXPECT_GT(decoded.Palette().size(), 16u);
        EXPECT_LT(MeanDifference(ThroughPalette(decoded), SmallPhoto().Packed()), 20.0);
    }
}

TEST(JpegDecoding, ReductionScalesMatchTheHeader) {
    auto bytes = EncodeToBytes(SmallPhoto());
    const int expected[4][2] = {{67, 45}, {34, 23}, {17, 12}, {9, 6}};
    for (int s = 0; s < 4; ++s) {
        TJpegSettings reader;
        reader.ReductionScale = static_cast<TJpegReductionScale>(s);
        TMemoryStream in(bytes);
        TJpegHeader header = ReadJpegHeader(in, reader.ReductionScale);
        EXPECT_EQ(header.ScaledWidth, expected[s][0]);
        EXPECT_EQ(header.ScaledHeight, expected[s][1]);
        auto decoded = DecodeBytes(bytes, reader);
        EXPECT_EQ(decoded.Width(), expected[s][0]);
        EXPECT_EQ(decoded.Height(), expected[s][1]);
    }
}

TEST(JpegDecoding, EmptyDataIsJpegError42) { EXPECT_EQ(DecodeError({}), "JPEG error #42"); }

TEST(JpegDecoding, DataNotStartingWithStartOfImageIsJpegError53) {
    auto bytes = EncodeToBytes(SmallPhoto());
    bytes[1] = 0xD9;
    EXPECT_EQ(DecodeError(bytes), "JPEG error #53");
    EXPECT_EQ(DecodeError({'B', 'M', 0, 0, 0, 0}), "JPEG error #53");
}

// The offset just past the start-of-scan header: all tables and frame data lie before it.
size_t EndOfHeader(const std::vector<uint8_t>& jpeg) {
    size_t pos = 2;
    while (pos + 4 <= jpeg.size()) {
        size_t length = static_cast<size_t>(jpeg[pos + 2] << 8 | jpeg[pos + 3]);
        if (jpeg[pos + 1] == 0xDA) return pos + 2 + length;
        pos += 2 + length;
    }
    return jpeg.size();
}

TEST(JpegDecoding, DataCutAfterTheHeaderDecodesWithoutError) {
    auto bytes = EncodeToBytes(SmallPhoto());
    for (size_t extra : {size_t(0), size_t(100), bytes.size() / 2}) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(EndOfHeader(bytes) + extra));
        MemoryDecodeTarget decoded;
        EXPECT_NO_THROW(decoded = DecodeBytes(cut)) << "cut after " << extra;
        EXPECT_EQ(decoded.Width(), 67);
        EXPECT_EQ(decoded.Height(), 45);
    }
}

TEST(JpegDecoding, DataCutInsideTheHeaderFails) {
    auto bytes = EncodeToBytes(SmallPhoto());
    // Every cut before the start-of-scan marker: inside the tables or the frame header.
    size_t startOfScan = EndOfHeader(bytes) - 14;
    ASSERT_EQ(bytes[startOfScan + 1], 0xDA);
    for (size_t length = 1; length <= startOfScan + 1; ++length) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(length));
        EXPECT_THROW(DecodeBytes(cut), EJPEG) << "cut at " << length;
        TMemoryStream in(cut);
        EXPECT_THROW(ReadJpegHeader(in), EJPEG) << "cut at " << length;
    }
}

TEST(JpegDecoding, HugeMultiScanPictureFailsInsteadOfExhaustingMemory) {
    // A few hundred bytes may claim 60000 x 60000 pixels; a multi-scan file would need gigabytes
    // of coefficients before the first row. libjpeg is held to its work memory limit.
    TJpegSettings progressive;
    progressive.WriteProgressive = true;
    auto bytes = EncodeToBytes(SmallPhoto(), progressive);
    size_t frame = 2;
    while (bytes[frame + 1] != 0xC2) frame += 2 + (bytes[frame + 2] << 8 | bytes[frame + 3]);
    for (size_t at : {frame + 5, frame + 7}) {
        bytes[at] = 60000 >> 8;
        bytes[at + 1] = 60000 & 0xFF;
    }
    TMemoryStream in(bytes);
    EXPECT_EQ(ReadJpegHeader(in).ImageWidth, 60000);
    EXPECT_EQ(DecodeError(bytes), "JPEG error #49");
}

TEST(JpegDecoding, DecodesFromTheStreamPosition) {
    auto bytes = EncodeToBytes(SmallPhoto());
    std::vector<uint8_t> prefixed{'x', 'y', 'z'};
    prefixed.insert(prefixed.end(), bytes.begin(), bytes.end());
    TMemoryStream in(prefixed);
    in.SetPosition(3);
    MemoryDecodeTarget target;
    EXPECT_TRUE(DecodeJpeg(in, {}, target));
    EXPECT_EQ(target.PackedRows(), DecodeBytes(bytes).PackedRows());
}

TEST(JpegDecoding, ATargetErrorEndsTheDecode) {
    class RefusingTarget : public MemoryDecodeTarget {
        TJpegRows PrepareRows(int32_t, int32_t, int) override { throw EOutOfResources("Out of system resources"); }
    } target;
    TMemoryStream in(EncodeToBytes(SmallPhoto()));
    EXPECT_THROW(DecodeJpeg(in, {}, target), EOutOfResources);
}

struct Report {
    TJpegProgressStage stage;
    int percent;
    bool redraw;
};

TEST(JpegProgress, StartAndEndBracketEveryEncodeAndDecode) {
    std::vector<Report> reports;
    TJpegProgressHandler listen = [&](TJpegProgressStage s, int p, bool r) { reports.push_back({s, p, r}); };
    TMemoryStream out;
    EXPECT_TRUE(EncodeJpeg(RowsOf(SmallPhoto()), {}, out, listen));
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.front().stage, TJpegProgressStage::Starting);
    EXPECT_EQ(reports.back().stage, TJpegProgressStage::Ending);
    EXPECT_EQ(reports.back().percent, 100);

    reports.clear();
    out.SetPosition(0);
    MemoryDecodeTarget target;
    EXPECT_TRUE(DecodeJpeg(out, {}, target, listen));
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.front().stage, TJpegProgressStage::Starting);
    EXPECT_EQ(reports.back().stage, TJpegProgressStage::Ending);
    EXPECT_EQ(reports.back().percent, 100);

    reports.clear();
    TMemoryStream broken(std::vector<uint8_t>{0x00, 0x01});
    EXPECT_THROW(DecodeJpeg(broken, {}, target, listen), EJPEG);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports.back().stage, TJpegProgressStage::Ending);
    EXPECT_EQ(reports.back().percent, 0);
}

std::vector<uint8_t> ProgressiveBytes() {
    TJpegSettings progressive;
    progressive.WriteProgressive = true;
    return EncodeToBytes(SmallPhoto(), progressive);
}

TEST(JpegProgress, ProgressiveDisplayShowsEachScanThenTheFinalPicture) {
    auto bytes = ProgressiveBytes();
    TJpegSettings reader;
    reader.ShowProgressively = true;
    int redraws = 0;
    MemoryDecodeTarget target;
    TMemoryStream in(bytes);
    EXPECT_TRUE(DecodeJpeg(in, reader, target, [&](TJpegProgressStage, int, bool redraw) { redraws += redraw; }));
    EXPECT_GE(redraws, 5);  // the simple progression script has ten scans
    EXPECT_EQ(target.PackedRows(), DecodeBytes(bytes).PackedRows());

    // In 8 bits the intermediate passes use the fast colour cube, the last one the picture's map.
    reader.OutputDepth = TJpegOutputDepth::Bits8;
    MemoryDecodeTarget quantised;
    TMemoryStream again(bytes);
    EXPECT_TRUE(DecodeJpeg(again, reader, quantised));
    EXPECT_GE(quantised.PaletteCalls(), 5);
    EXPECT_LT(MeanDifference(ThroughPalette(quantised), SmallPhoto().Packed()), 20.0);
}

TEST(JpegProgress, AbortEndsTheDecodeQuietlyKeepingWhatWasDecoded) {
    auto bytes = ProgressiveBytes();
    TJpegSettings reader;
    reader.ShowProgressively = true;
    std::vector<Report> reports;
    MemoryDecodeTarget target;
    TMemoryStream in(bytes);
    bool finished = DecodeJpeg(in, reader, target, [&](TJpegProgressStage s, int p, bool redraw) {
        reports.push_back({s, p, redraw});
        if (redraw) throw EAbort("");
    });
    EXPECT_FALSE(finished);
    ASSERT_EQ(target.Height(), 45);
    // The first scan's picture is there: no byte is left at the fill value.
    auto rows = target.PackedRows();
    EXPECT_EQ(std::count(rows.begin(), rows.end(), 0xCD) < static_cast<ptrdiff_t>(rows.size() / 10), true);
    EXPECT_EQ(reports.back().stage, TJpegProgressStage::Ending);
    EXPECT_EQ(reports.back().percent, 0);
}

TEST(JpegProgress, AbortAtTheStartOfAnEncode) {
    TMemoryStream out;
    bool finished = EncodeJpeg(RowsOf(SmallPhoto()), {}, out, [](TJpegProgressStage s, int, bool) {
        if (s == TJpegProgressStage::Starting) throw EAbort("");
    });
    EXPECT_FALSE(finished);
}

}  // namespace
