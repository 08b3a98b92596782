#include <gtest/gtest.h>

#include "GifTestBuilder.h"
#include "base/Exceptions.h"

using giftest::Builder;
using giftest::ExtensionAt;
using giftest::Load;
using giftest::Loaded;

namespace {

std::vector<uint8_t> Seq(size_t count, int colors) {
    std::vector<uint8_t> v(count);
    for (size_t i = 0; i < count; ++i) v[i] = static_cast<uint8_t>(i % static_cast<size_t>(colors));
    return v;
}

TEST(GifReaderSignature, FindsTheSignatureAfterFourBytesAndInAnyCase) {
    const auto pixels = Seq(12, 4);
    for (const char* sig : {"GIF89a", "gif89a", "GiF87a", "GIFxyz"}) {
        Builder plain;
        plain.Header(4, 3, 4, sig).Descriptor(0, 0, 4, 3).Pixels(2, pixels).Trailer();
        Loaded l = Load(plain.Bytes());
        ASSERT_EQ(l.error, "") << sig;
        ASSERT_EQ(l.Frames(), 1);
        EXPECT_EQ(l.Frame(0).Data, pixels);

        Builder prefixed;
        prefixed.Raw({1, 2, 3, 4}).Header(4, 3, 4, sig).Descriptor(0, 0, 4, 3).Pixels(2, pixels).Trailer();
        Loaded p = Load(prefixed.Bytes());
        ASSERT_EQ(p.error, "") << sig;
        ASSERT_EQ(p.Frames(), 1);
        EXPECT_EQ(p.Frame(0).Data, pixels);
        EXPECT_EQ(p.endPosition, static_cast<int64_t>(prefixed.Bytes().size()));
    }
}

TEST(GifReaderSignature, RejectsOtherDataAndShortHeaders) {
    EXPECT_EQ(Load({'P', 'N', 'G', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}).error, "Invalid GIF signature");
    EXPECT_EQ(Load({1, 2, 3, 4, 5, 'G', 'I', 'F', '8', '9', 'a'}).error, "Invalid GIF signature");
    // Too short to hold a signature where one could be: cut off, not foreign.
    EXPECT_EQ(Load({}).error, "Premature end of data");
    EXPECT_EQ(Load({'G', 'I', 'F', '8', '9'}).error, "Premature end of data");
    EXPECT_EQ(Load({1, 2, 3, 4, 'G', 'I', 'F', '8'}).error, "Premature end of data");
    EXPECT_EQ(Load({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1}).error, "Premature end of data");
    Builder shortTable;
    shortTable.Header(1, 1, 4);
    auto bytes = shortTable.Bytes();
    bytes.resize(bytes.size() - 1);
    EXPECT_EQ(Load(bytes).error, "Premature end of data");
}

TEST(GifReaderScreen, ReadsTheDescriptorAndGlobalTable) {
    Builder b;
    b.Header(300, 200, 16, "GIF89a", 5).Trailer();
    Loaded l = Load(b.Bytes());
    EXPECT_EQ(l.error, "");
    EXPECT_EQ(l.image->Width(), 300);
    EXPECT_EQ(l.image->Height(), 200);
    EXPECT_EQ(l.image->Header.Descriptor.BackgroundColorIndex, 5);
    ASSERT_EQ(l.image->Header.ColorMap.Count(), 16);
    EXPECT_EQ(l.image->Header.ColorMap[3], (TGIFColor{120, 252, 21}));
    EXPECT_TRUE(l.image->Empty());
}

TEST(GifReaderFrames, GlobalTableOnlyFrameUsesTheGlobalColours) {
    Builder b;
    b.Header(2, 2, 4).Descriptor(0, 0, 2, 2).Pixels(2, {0, 1, 2, 3}).Trailer();
    Loaded l = Load(b.Bytes());
    ASSERT_EQ(l.Frames(), 1);
    EXPECT_TRUE(l.Frame(0).ColorMap.Empty());
    EXPECT_EQ(&l.Frame(0).ActiveColorMap(), &l.image->Header.ColorMap);
    EXPECT_EQ(l.image->Header.ColorMap.Count(), 4);
}

TEST(GifReaderFrames, InterlacedFramesOfAnyHeightFillEveryRow) {
    // Rows arrive as 0, 2, 1 for height 3; the pixel values say which row came when.
    Builder three;
    three.Header(2, 3, 4).Descriptor(0, 0, 2, 3, 0x40).Pixels(2, {0, 0, 1, 1, 2, 2}).Trailer();
    Loaded l = Load(three.Bytes());
    ASSERT_EQ(l.error, "");
    ASSERT_EQ(l.Frames(), 1);
    EXPECT_EQ(l.Frame(0).Data, (std::vector<uint8_t>{0, 0, 2, 2, 1, 1}));

    for (uint16_t height : {1, 2, 4, 5, 7, 8, 9, 13, 17, 31}) {
        std::vector<uint32_t> order;
        InterlacedRowOrder(height, order);
        std::vector<uint8_t> sent(order.begin(), order.end());
        Builder b;
        b.Header(1, height, 256).Descriptor(0, 0, 1, height, 0x40).Pixels(8, sent).Trailer();
        Loaded f = Load(b.Bytes());
        ASSERT_EQ(f.Frames(), 1);
        for (uint32_t row = 0; row < height; ++row) EXPECT_EQ(f.Frame(0).Data[row], row) << height;
    }
}

TEST(GifReaderFrames, EarlyEndFillsWithTheTransparentIndexOrZero) {
    std::vector<uint8_t> few{1, 2, 3, 1};  // codes that end on a byte boundary
    auto data = giftest::PackCodes(giftest::LiteralCodes(few, 2, false), 2);
    Builder transparent;
    transparent.Header(3, 3, 4).Control(0x01, 0, 2).Descriptor(0, 0, 3, 3).Data(2, data).Trailer();
    Loaded t = Load(transparent.Bytes());
    ASSERT_EQ(t.error, "");
    EXPECT_TRUE(t.Frame(0).Transparent);
    EXPECT_EQ(t.Frame(0).Data, (std::vector<uint8_t>{1, 2, 3, 1, 2, 2, 2, 2, 2}));
    EXPECT_TRUE(t.Warned("Decoder bit buffer under-run"));

    Builder opaque;
    opaque.Header(3, 3, 4).Control(0x00, 0, 2).Descriptor(0, 0, 3, 3).Data(2, data).Trailer();
    Loaded o = Load(opaque.Bytes());
    EXPECT_FALSE(o.Frame(0).Transparent);
    EXPECT_EQ(o.Frame(0).Data, (std::vector<uint8_t>{1, 2, 3, 1, 0, 0, 0, 0, 0}));

    // The data cut off in the middle of a sub-block: warned, and what arrived is kept.
    Builder cut;
    cut.Header(4, 4, 4).Descriptor(0, 0, 4, 4).Pixels(2, Seq(16, 4));
    auto bytes = cut.Bytes();
    bytes.resize(bytes.size() - 4);
    Loaded c = Load(bytes);
    EXPECT_EQ(c.error, "");
    ASSERT_EQ(c.Frames(), 1);
    EXPECT_TRUE(c.Warned("Premature end of data"));
    EXPECT_EQ(c.Frame(0).Data[0], 0);
    EXPECT_EQ(c.Frame(0).Data[1], 1);
    EXPECT_EQ(c.Frame(0).Data[15], 0);
}

TEST(GifReaderFrames, NoTrailerAndWidthZero) {
    Builder b;
    b.Header(5, 2, 4).Descriptor(0, 0, 0, 2).Pixels(2, Seq(10, 4));
    Loaded l = Load(b.Bytes());
    EXPECT_EQ(l.error, "");
    ASSERT_EQ(l.Frames(), 1);
    EXPECT_EQ(l.Frame(0).Width(), 5);
    EXPECT_EQ(l.Frame(0).Height(), 2);
    EXPECT_EQ(l.Frame(0).Data, Seq(10, 4));
    EXPECT_TRUE(l.Warned("Image exceeds Logical Screen size"));
    EXPECT_FALSE(l.Warned("Invalid Image trailer"));
}

TEST(GifReaderFrames, UnknownBlocksAndTrailersWarnButKeepFrames) {
    Builder b;
    b.Header(1, 1, 2).Descriptor(0, 0, 1, 1).Pixels(2, {1}).Raw({0, 0, 0}).Raw({0x99, 0x3B});
    Loaded l = Load(b.Bytes());
    EXPECT_EQ(l.error, "");
    EXPECT_EQ(l.Frames(), 1);
    EXPECT_TRUE(l.Warned("Unknown GIF block type"));
    EXPECT_TRUE(l.Warned("Invalid Image trailer"));
}

TEST(GifReaderFrames, FramesKeepPositionsTablesAndExtensions) {
    Builder b;
    b.Header(10, 10, 2)
        .Comment({"hello", "world"})
        .Loop(3)
        .Control(0x08 | 0x01, 7, 1)
        .Control(0x0C, 99, 0)
        .Descriptor(2, 3, 2, 2, 0, 8)
        .Pixels(3, {4, 5, 6, 7})
        .Control(0x04, 0, 0)
        .Control(0x01 | 0x0C, 9, 1)  // a later one changes nothing
        .Descriptor(0, 0, 1, 1)
        .Pixels(2, {1})
        .Trailer();
    Loaded l = Load(b.Bytes());
    ASSERT_EQ(l.error, "");
    ASSERT_EQ(l.Frames(), 2);
    const TGIFSubImage& f = l.Frame(0);
    EXPECT_EQ(f.Left(), 2);
    EXPECT_EQ(f.Top(), 3);
    EXPECT_EQ(f.ColorMap.Count(), 8);
    EXPECT_EQ(f.Data, (std::vector<uint8_t>{4, 5, 6, 7}));
    ASSERT_EQ(f.Extensions.Count(), 4);
    auto* comment = ExtensionAt<TGIFCommentExtension>(f, 0);
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(comment->Lines, (std::vector<std::string>{"hello", "world"}));
    auto* loop = ExtensionAt<TGIFAppExtNSLoop>(f, 1);
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->Loops, 3);
    EXPECT_EQ(loop->IdentifierText(), "NETSCAPE2.0");
    ASSERT_EQ(f.GraphicControlExtension, ExtensionAt<TGIFGraphicControlExtension>(f, 2));
    EXPECT_EQ(f.GraphicControlExtension->Delay, 7);
    EXPECT_EQ(f.GraphicControlExtension->Disposal(), 2);
    EXPECT_TRUE(f.Transparent);
    EXPECT_EQ(f.Disposal(), 2);
    EXPECT_EQ(l.Frame(1).Disposal(), 1);
    EXPECT_EQ(l.Frame(1).GraphicControlExtension->Delay, 0);
    EXPECT_FALSE(l.Frame(1).Transparent);
    EXPECT_EQ(l.Frame(1).Data, (std::vector<uint8_t>{1}));
    ASSERT_EQ(l.progress.size(), 2u);
    EXPECT_EQ(l.progress.back(), 99);  // the trailer byte is still to come
}

TEST(GifReaderExtensions, ApplicationBlocksByIdentifierAndSize) {
    Builder b;
    b.Header(1, 1, 2)
        .Application("ANIMEXTS1.0", {{1, 0, 0}, {2, 0x10, 0, 0, 0}, {8, 9}})
        .Application("XMP DataXMP", {{1, 2, 3}, {4}})
        .Application("MYAPPLIC123+EXTRA", {{7, 7, 7}}, 17)
        .Application("SHORTAPP10", {{5}}, 10)
        .Descriptor(0, 0, 1, 1)
        .Pixels(2, {0})
        .Trailer();
    Loaded l = Load(b.Bytes());
    ASSERT_EQ(l.error, "");
    ASSERT_EQ(l.Frames(), 1);
    const TGIFSubImage& f = l.Frame(0);
    ASSERT_EQ(f.Extensions.Count(), 4);
    auto* loop = ExtensionAt<TGIFAppExtNSLoop>(f, 0);
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->Loops, 0);
    EXPECT_EQ(loop->BufferSize, 0x10u);
    auto* xmp = ExtensionAt<TGIFUnknownAppExtension>(f, 1);
    ASSERT_NE(xmp, nullptr);
    ASSERT_EQ(xmp->Blocks.size(), 2u);
    EXPECT_EQ(xmp->Blocks[0].Data, (std::vector<uint8_t>{1, 2, 3}));
    // An identifier block above 11 bytes keeps its data raw instead of losing it.
    auto* longer = ExtensionAt<TGIFUnknownAppExtension>(f, 2);
    ASSERT_NE(longer, nullptr);
    EXPECT_EQ(longer->IdentifierText(), "MYAPPLIC123");
    ASSERT_EQ(longer->Blocks.size(), 1u);
    EXPECT_EQ(longer->Blocks[0].Data, (std::vector<uint8_t>{7, 7, 7}));
    // A 10-byte identifier block is read as 10 bytes, so its data stays in step.
    auto* shorter = ExtensionAt<TGIFUnknownAppExtension>(f, 3);
    ASSERT_NE(shorter, nullptr);
    EXPECT_EQ(shorter->IdentifierText(), std::string("SHORTAPP10\0", 11));
    ASSERT_EQ(shorter->Blocks.size(), 1u);
    EXPECT_EQ(shorter->Blocks[0].Data, (std::vector<uint8_t>{5}));
    EXPECT_EQ(f.Data, (std::vector<uint8_t>{0}));

    // Written back and read again, the raw data survives.
    TMemoryStream saved;
    l.image->SaveToStream(saved);
    Loaded again = Load(saved.Bytes());
    ASSERT_EQ(again.error, "");
    auto* kept = ExtensionAt<TGIFUnknownAppExtension>(again.Frame(0), 2);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->Blocks.at(0).Data, (std::vector<uint8_t>{7, 7, 7}));
}

TEST(GifReaderExtensions, ErrorsPutTheStreamBackAndKeepEarlierFrames) {
    struct Case {
        std::vector<uint8_t> tail;
        const char* error;
    };
    const Case cases[] = {
        {{0x21, 0x77, 0}, "Unknown extension type"},
        {{0x21, 0xFF, 9, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 0}, "Unsupported Application Extension block size"},
        {{0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 2, 1, 0, 0}, "Invalid GIF data"},
        {{0x21, 0x01, 12, 1, 2}, "Premature end of data"},
        {{0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 12, 1, 0, 0}, "Invalid GIF data"},
        {{0x2C, 0, 0, 0, 0, 1}, "Premature end of data"},
    };
    for (const auto& c : cases) {
        Builder b;
        b.Header(1, 1, 2).Descriptor(0, 0, 1, 1).Pixels(2, {1}).Raw(c.tail);
        TMemoryStream stream;
        stream.Write("junk", 4);
        stream.Write(b.Bytes().data(), b.Bytes().size());
        stream.SetPosition(4);
        TGIFImageModel image;
        try {
            image.LoadFromStream(stream);
            ADD_FAILURE() << "expected " << c.error;
        } catch (const GIFException& e) {
            EXPECT_EQ(e.Message(), c.error);
        }
        EXPECT_EQ(stream.Position(), 4);
        EXPECT_EQ(image.Images.Count(), 1) << c.error;
    }
}

TEST(GifReaderExtensions, ShortControlBlockAndStrayBytesBetweenExtensionsWarn) {
    Builder b;
    b.Header(2, 1, 2).Raw({0x21, 0xF9, 4, 1, 0});
    Loaded l = Load(b.Bytes());
    EXPECT_EQ(l.error, "");
    ASSERT_EQ(l.Frames(), 1);
    EXPECT_TRUE(l.Frame(0).Empty());
    EXPECT_TRUE(l.Warned("Premature end of data"));

    Builder stray;
    stray.Header(1, 1, 2).Comment({"x"}).Raw({0x44}).Trailer();
    Loaded s = Load(stray.Bytes());
    EXPECT_TRUE(s.Warned("Invalid extension introducer"));
}

TEST(GifReaderLimits, HostileSizesFailCleanlyWithinTheBudget) {
    Builder huge;
    huge.Header(65535, 65535).Descriptor(0, 0, 65535, 65535).Data(8, {0x00, 0x01}).Trailer();
    EXPECT_EQ(Load(huge.Bytes(), 64u << 20).error, "Out of memory");

    // A few bytes per extension must not turn into unbounded objects either.
    Builder many;
    many.Header(1, 1);
    for (int i = 0; i < 100000; ++i) many.Raw({0x21, 0xFE, 0});
    EXPECT_EQ(Load(many.Bytes(), 4u << 20).error, "Out of memory");
    Loaded fits = Load(many.Bytes());
    EXPECT_EQ(fits.error, "");
    EXPECT_EQ(fits.Frame(0).Extensions.Count(), 100000);
}

TEST(GifReaderFrames, DataAfterTheLastPixelIsSkippedToTheTerminator) {
    // A clear code and stray codes after the last pixel, before the end code.
    std::vector<int> codes = giftest::LiteralCodes({1, 2, 3, 0}, 2, false);
    codes.insert(codes.end(), {4, 1, 1, 1, 5});
    Builder b;
    b.Header(2, 2, 4)
        .Descriptor(0, 0, 2, 2)
        .Data(2, giftest::PackCodes(codes, 2), 1)
        .Descriptor(0, 0, 1, 1)
        .Pixels(2, {3})
        .Trailer();
    Loaded l = Load(b.Bytes());
    EXPECT_EQ(l.error, "");
    ASSERT_EQ(l.Frames(), 2);
    EXPECT_EQ(l.Frame(0).Data, (std::vector<uint8_t>{1, 2, 3, 0}));
    EXPECT_EQ(l.Frame(1).Data, (std::vector<uint8_t>{3}));
    EXPECT_TRUE(l.warnings.empty());
}

TEST(GifReaderModel, SingleBlocksLoadFromTheirOwnStreams) {
    Builder b;
    b.Header(6, 4, 8).Control(0x05, 12, 3).Descriptor(1, 1, 2, 2, 0x40).Pixels(3, {7, 6, 5, 4}).Trailer();
    TMemoryStream stream(b.Bytes());
    TGIFImageModel image;
    image.Header.LoadFromStream(stream);
    EXPECT_EQ(image.Width(), 6);
    EXPECT_EQ(image.Header.ColorMap.Count(), 8);
    TGIFSubImage frame(&image);
    frame.LoadFromStream(stream);
    EXPECT_EQ(frame.Data, (std::vector<uint8_t>{7, 6, 5, 4}));
    EXPECT_TRUE(frame.Transparent);
    EXPECT_EQ(stream.Position(), static_cast<int64_t>(b.Bytes().size()) - 1);
}

TEST(GifReaderFrames, DataLongerThanAStretchInSubBlocksOfAnySize) {
    // Noise in 8-bit literal codes runs to about 45 KB: the data is joined a stretch at a time,
    // with sub-blocks split between stretches and codes between sub-blocks.
    const std::vector<uint8_t> pixels = giftest::NoisePixels(200 * 200, 256, 7);
    std::vector<int> codes = giftest::LiteralCodes(pixels, 8, false);
    const std::vector<int> stray = giftest::LiteralCodes(giftest::NoisePixels(20000, 256, 8), 8);
    for (size_t blockLimit : {1, 7, 254, 255}) {
        for (bool strayAfter : {false, true}) {
            std::vector<int> all = codes;
            if (strayAfter) all.insert(all.end(), stray.begin(), stray.end());  // skipped to the terminator
            else all.push_back(257);
            Builder b;
            b.Header(200, 200, 256)
                .Descriptor(0, 0, 200, 200)
                .Data(8, giftest::PackCodes(all, 8), blockLimit)
                .Descriptor(0, 0, 1, 1)
                .Pixels(2, {3})
                .Trailer();
            Loaded l = Load(b.Bytes());
            ASSERT_EQ(l.error, "") << blockLimit;
            ASSERT_EQ(l.Frames(), 2) << blockLimit;
            EXPECT_EQ(l.Frame(0).Data, pixels) << blockLimit;
            EXPECT_EQ(l.Frame(1).Data, (std::vector<uint8_t>{3})) << blockLimit;
            EXPECT_TRUE(l.warnings.empty()) << blockLimit;

            // Cut in a later stretch: what arrived is kept (at least 19 KB of data, over 10000 pixels).
            std::vector<uint8_t> cut(b.Bytes().begin(), b.Bytes().begin() + 40001);
            Loaded c = Load(cut);
            EXPECT_EQ(c.error, "") << blockLimit;
            ASSERT_EQ(c.Frames(), 1) << blockLimit;
            EXPECT_TRUE(c.Warned("Decoder bit buffer under-run")) << blockLimit;
            EXPECT_TRUE(std::equal(pixels.begin(), pixels.begin() + 10000, c.Frame(0).Data.begin())) << blockLimit;
        }
    }
}

}  // namespace
