#include <gtest/gtest.h>

#include "GifTestSupport.h"
#include "GiflibDecode.h"
#include "base/Exceptions.h"

namespace {

std::vector<TGIFColor> WebPaletteWithBlack() {
    std::vector<TGIFColor> colors;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colors.push_back({static_cast<uint8_t>(51 * r), static_cast<uint8_t>(51 * g), static_cast<uint8_t>(51 * b)});
    colors.resize(256);
    return colors;
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values) out.push_back(static_cast<uint8_t>(v));
    return out;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t from, size_t count) {
    return std::vector<uint8_t>(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(from + count));
}

// Offset of the minimum code size byte of the only frame of a picture without a global map.
size_t CodeStart(const std::vector<uint8_t>& bytes) {
    const int localEntries = (bytes[22] & 0x80) ? 2 << (bytes[22] & 7) : 0;
    return 13 + 10 + static_cast<size_t>(localEntries) * 3;
}

void ExpectDecodesTo(const std::vector<uint8_t>& file, int width, int height, const std::vector<TGIFColor>& colors,
                     const std::vector<uint8_t>& pixels, bool interlaced) {
    TDecodedGif decoded = DecodeWithGiflib(file);
    ASSERT_TRUE(decoded.Ok) << decoded.Error;
    ASSERT_EQ(decoded.Frames.size(), 1u);
    const TDecodedFrame& frame = decoded.Frames[0];
    EXPECT_EQ(decoded.ScreenWidth, width);
    EXPECT_EQ(decoded.ScreenHeight, height);
    EXPECT_EQ(frame.Width, width);
    EXPECT_EQ(frame.Height, height);
    EXPECT_EQ(frame.Interlaced, interlaced);
    std::vector<TGIFColor> padded = colors;
    padded.resize(size_t{1} << TGIFColorMap::DepthForCount(static_cast<int>(colors.size())));
    EXPECT_EQ(frame.LocalColors, padded);
    EXPECT_EQ(frame.Pixels, pixels);
}

}  // namespace

TEST(GifWriterTest, OnePixelFileByteForByte) {
    TGIFImageModel image;
    AddFrame(image, 1, 1, WebPaletteWithBlack(), {180});
    std::vector<uint8_t> file = SaveToBytes(image);

    std::vector<uint8_t> expected = Bytes({'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0x77, 0, 0,
                                           0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x87});
    for (const TGIFColor& c : WebPaletteWithBlack()) {
        expected.push_back(c.Red);
        expected.push_back(c.Green);
        expected.push_back(c.Blue);
    }
    // Minimum code size 8; clear 256, pixel 180, end 257 in 9-bit codes; terminator; trailer.
    for (uint8_t b : Bytes({8, 4, 0x00, 0x69, 0x05, 0x04, 0, 0x3B})) expected.push_back(b);
    EXPECT_EQ(file, expected);
    ExpectDecodesTo(file, 1, 1, WebPaletteWithBlack(), {180}, false);
}

TEST(GifWriterTest, TwoColorFrameUsesMinimumCodeSizeTwo) {
    TGIFImageModel image;
    AddFrame(image, 1, 1, {{0, 0, 0}, {255, 255, 255}}, {1});
    std::vector<uint8_t> file = SaveToBytes(image);
    EXPECT_EQ(file[10], 0x00);  // depth 1: resolution and size fields 0
    EXPECT_EQ(file[22], 0x80);  // local table of 2 entries
    EXPECT_EQ(Slice(file, 23, 6), Bytes({0, 0, 0, 255, 255, 255}));
    // Minimum code size 2; clear 4, pixel 1, end 5 in 3-bit codes.
    EXPECT_EQ(Slice(file, 29, 6), Bytes({2, 2, 0x4C, 0x01, 0, 0x3B}));
    EXPECT_EQ(file.size(), 35u);
    ExpectDecodesTo(file, 1, 1, {{0, 0, 0}, {255, 255, 255}}, {1}, false);
}

TEST(GifWriterTest, SixteenColorPackedBytes) {
    TGIFImageModel image;
    std::vector<uint8_t> pixels = RandomPixels(7 * 3, 16, 7);
    AddFrame(image, 7, 3, GreyRamp(16), pixels);
    std::vector<uint8_t> file = SaveToBytes(image);
    EXPECT_EQ(file[10], 0x33);
    EXPECT_EQ(file[22], 0x83);
    EXPECT_EQ(file[CodeStart(file)], 4);
    ExpectDecodesTo(file, 7, 3, GreyRamp(16), pixels, false);
}

TEST(GifWriterTest, ColorTablesArePaddedWithBlack) {
    TGIFImageModel image;
    std::vector<TGIFColor> five = GreyRamp(5);
    AddFrame(image, 2, 2, five, {0, 1, 2, 4});
    std::vector<uint8_t> file = SaveToBytes(image);
    EXPECT_EQ(file[22], 0x82);  // depth 3: 8 entries
    std::vector<uint8_t> table = Slice(file, 23, 24);
    EXPECT_EQ(Slice(table, 15, 9), Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(table[12], five[4].Red);
    ExpectDecodesTo(file, 2, 2, five, {0, 1, 2, 4}, false);
}

TEST(GifWriterTest, OneColorAcrossAllCodeWidthsAndTheClearAt4095) {
    const int width = 3000, height = 2500;
    TGIFImageModel image;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height, 7);
    AddFrame(image, width, height, WebPaletteWithBlack(), pixels);
    std::vector<uint8_t> file = SaveToBytes(image);

    TCodeTrace trace = TraceCodes(file, CodeStart(file));
    ASSERT_GE(trace.Codes.size(), 3841u);
    EXPECT_EQ(trace.Codes[0], 256);
    // Codes 1 .. 3838 fill entries 258 .. 4094; then the table is cleared.
    EXPECT_EQ(trace.Codes[3839], 256);
    for (size_t i = 1; i < 3839; ++i) ASSERT_NE(trace.Codes[i], 256) << i;
    EXPECT_EQ(trace.Widths[255], 9);
    EXPECT_EQ(trace.Widths[256], 10);
    EXPECT_EQ(trace.Widths[767], 10);
    EXPECT_EQ(trace.Widths[768], 11);
    EXPECT_EQ(trace.Widths[1791], 11);
    EXPECT_EQ(trace.Widths[1792], 12);
    EXPECT_EQ(trace.Widths[3839], 12);  // the clear goes out at the width in force
    EXPECT_EQ(trace.Widths[3840], 9);
    EXPECT_EQ(trace.Codes.back(), 257);
    ExpectDecodesTo(file, width, height, WebPaletteWithBlack(), pixels, false);
}

TEST(GifWriterTest, Exactly255BytesOfCodeDataMakeOneFullSubBlock) {
    // Grow a picture of distinct pixel pairs until its code data is exactly 255 bytes.
    for (int count = 1; count < 400; ++count) {
        std::vector<uint8_t> pixels(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) pixels[static_cast<size_t>(i)] = static_cast<uint8_t>((i * 97 + i / 256) % 256);
        TGIFImageModel image;
        AddFrame(image, count, 1, WebPaletteWithBlack(), pixels);
        std::vector<uint8_t> file = SaveToBytes(image);
        TCodeTrace trace = TraceCodes(file, CodeStart(file));
        if (trace.SubBlockSizes.front() != 255) continue;
        EXPECT_EQ(trace.SubBlockSizes, (std::vector<int>{255, 0}));
        EXPECT_EQ(file.size(), CodeStart(file) + 1 + 1 + 255 + 1 + 1);
        EXPECT_EQ(file.back(), 0x3B);
        ExpectDecodesTo(file, count, 1, WebPaletteWithBlack(), pixels, false);
        return;
    }
    FAIL() << "no picture gave exactly 255 bytes of code data";
}

TEST(GifWriterTest, InterlacedFramesGoOutInTheFourPasses) {
    for (int height : {1, 2, 3, 4, 5, 8, 9, 11, 17}) {
        const int width = 5;
        std::vector<uint8_t> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) pixels.push_back(static_cast<uint8_t>(y * 10 + x % 3));
        TGIFImageModel image;
        AddFrame(image, width, height, GreyRamp(256), pixels, true);
        std::vector<uint8_t> file = SaveToBytes(image);
        EXPECT_EQ(file[22], 0xC7) << height;
        ExpectDecodesTo(file, width, height, GreyRamp(256), pixels, true);
    }
}

TEST(GifWriterTest, BothEncodersAcrossSizesDepthsAndOrders) {
    const std::pair<int, int> sizes[] = {{1, 1}, {2, 3}, {17, 5}, {64, 64}, {300, 7}, {5, 300}};
    int seed = 1;
    for (int coding : {GifCoding::Lzw, GifCoding::RunLength})
        for (int colors : {1, 2, 3, 5, 16, 17, 200, 256})
            for (auto [width, height] : sizes)
                for (bool interlaced : {false, true})
                    for (bool runs : {false, true}) {
                        const size_t count = static_cast<size_t>(width) * height;
                        std::vector<uint8_t> pixels = runs ? RunPixels(count, colors, 40, static_cast<uint32_t>(seed))
                                                           : RandomPixels(count, colors, static_cast<uint32_t>(seed));
                        ++seed;
                        TGIFImageModel image;
                        image.CodingMethod = coding;
                        AddFrame(image, width, height, GreyRamp(colors), pixels, interlaced);
                        SCOPED_TRACE(testing::Message() << "coding " << coding << " colors " << colors << " size "
                                                        << width << "x" << height << " interlaced " << interlaced
                                                        << " runs " << runs);
                        ExpectDecodesTo(SaveToBytes(image), width, height, GreyRamp(colors), pixels, interlaced);
                    }
}

TEST(GifWriterTest, RunLengthCodingOfLongRunsAndTableResets) {
    // Long runs of alternating colours make the run coder refill and clear its table.
    std::vector<uint8_t> pixels;
    for (int run = 0; pixels.size() < 1200000; ++run) pixels.insert(pixels.end(), 1 + (run * 7919) % 5000, run % 3);
    pixels.resize(1200000);
    TGIFImageModel image;
    image.CodingMethod = GifCoding::RunLength;
    AddFrame(image, 1200, 1000, GreyRamp(3), pixels);
    std::vector<uint8_t> file = SaveToBytes(image);
    TCodeTrace trace = TraceCodes(file, CodeStart(file));
    EXPECT_GT(std::count(trace.Codes.begin(), trace.Codes.end(), 4), 1);
    EXPECT_LT(file.size(), pixels.size() / 20);  // runs are really coded as runs
    ExpectDecodesTo(file, 1200, 1000, GreyRamp(3), pixels, false);
}

TEST(GifWriterTest, EveryPixelIsCheckedAgainstTheColorCount) {
    for (int coding : {GifCoding::Lzw, GifCoding::RunLength}) {
        for (size_t badAt : {size_t{0}, size_t{1}, size_t{17}, size_t{99}}) {
            TGIFImageModel image;
            image.CodingMethod = coding;
            std::vector<uint8_t> pixels(100, 1);
            pixels[badAt] = 2;  // two colours: only 0 and 1 exist
            AddFrame(image, 10, 10, GreyRamp(2), pixels);
            TMemoryStream stream;
            try {
                image.SaveToStream(stream);
                ADD_FAILURE() << "no error for a pixel at " << badAt;
            } catch (const GIFException& e) {
                EXPECT_STREQ(e.what(), "Color not in color table");
            }
        }
    }
    // Three colours give a depth of 2: index 3 is inside the (padded) table.
    TGIFImageModel image;
    AddFrame(image, 2, 1, GreyRamp(3), {3, 0});
    EXPECT_NO_THROW(SaveToBytes(image));
}

TEST(GifWriterTest, PixelDataMustMatchTheDescriptor) {
    TGIFImageModel image;
    AddFrame(image, 4, 4, GreyRamp(2), std::vector<uint8_t>(15, 1));
    try {
        SaveToBytes(image);
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Invalid image dimensions");
    }
}

TEST(GifWriterTest, VersionRule) {
    TGIFImageModel empty;
    try {
        SaveToBytes(empty);
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Unsupported GIF version");
    }

    TGIFImageModel sorted;
    AddFrame(sorted, 1, 1, GreyRamp(2), {0}).ColorMap.Sorted = true;
    std::vector<uint8_t> file = SaveToBytes(sorted);
    EXPECT_EQ(Slice(file, 0, 6), Bytes({'G', 'I', 'F', '8', '9', 'a'}));
    EXPECT_EQ(file[22], 0xA0);  // local table, sorted, depth 1

    TGIFImageModel withComment;
    TGIFSubImage& frame = AddFrame(withComment, 1, 1, GreyRamp(2), {0});
    auto comment = std::make_unique<TGIFCommentExtension>(&withComment, &frame);
    comment->Lines = {"hello"};
    frame.Extensions.Add(std::move(comment));
    EXPECT_EQ(SaveToBytes(withComment)[4], '9');
}

TEST(GifWriterTest, GlobalMapAndFramesWithoutLocalMaps) {
    TGIFImageModel image;
    image.Header.ColorMap.Assign(GreyRamp(4).data(), 4);
    auto frame = std::make_unique<TGIFSubImage>(&image);
    frame->SetBounds(2, 1, 3, 2);
    frame->Data = {0, 1, 2, 3, 2, 1};
    frame->Descriptor.PackedFields = 0xA7;  // stale flags are recomputed
    image.Images.Add(std::move(frame));
    std::vector<uint8_t> file = SaveToBytes(image);
    EXPECT_EQ(file[10], 0x91);  // global table, resolution 1, size 1
    EXPECT_EQ(Slice(file, 25, 10), Bytes({0x2C, 2, 0, 1, 0, 3, 0, 2, 0, 0x00}));
    EXPECT_EQ(file[35], 2);  // minimum code size from the picture's depth
    TDecodedGif decoded = DecodeWithGiflib(file);
    ASSERT_TRUE(decoded.Ok) << decoded.Error;
    EXPECT_EQ(decoded.GlobalColors, GreyRamp(4));
    EXPECT_EQ(decoded.Frames[0].Left, 2);
    EXPECT_EQ(decoded.Frames[0].Pixels, Bytes({0, 1, 2, 3, 2, 1}));
}

TEST(GifWriterTest, ExtensionBlocksAsWritten) {
    TGIFImageModel image;
    TGIFSubImage& frame = AddFrame(image, 2, 1, GreyRamp(4), {0, 3});
    auto control = std::make_unique<TGIFGraphicControlExtension>(&image, &frame);
    control->SetDisposal(2);
    control->SetTransparent(true);
    control->Delay = 0x0102;
    control->SetTransparentColor(3);
    auto loop = std::make_unique<TGIFAppExtNSLoop>(&image, &frame);
    loop->Loops = 5;
    auto comment = std::make_unique<TGIFCommentExtension>(&image, &frame);
    comment->Lines = {std::string(300, 'x'), "", "ok"};
    frame.Extensions.Add(std::move(control));
    frame.Extensions.Add(std::move(loop));
    frame.Extensions.Add(std::move(comment));
    std::vector<uint8_t> file = SaveToBytes(image);
    size_t at = 13;
    EXPECT_EQ(Slice(file, at, 8), Bytes({0x21, 0xF9, 4, 0x09, 0x02, 0x01, 3, 0}));
    at += 8;
    EXPECT_EQ(Slice(file, at, 19), Bytes({0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1,
                                          5, 0, 0}));
    at += 19;
    EXPECT_EQ(Slice(file, at, 3), Bytes({0x21, 0xFE, 255}));
    at += 3 + 255;
    EXPECT_EQ(file[at], 45);
    at += 1 + 45;
    EXPECT_EQ(Slice(file, at, 5), Bytes({2, 'o', 'k', 0, 0x2C}));
    TDecodedGif decoded = DecodeWithGiflib(file);
    ASSERT_TRUE(decoded.Ok) << decoded.Error;
    EXPECT_EQ(decoded.Frames[0].Pixels, Bytes({0, 3}));
}

TEST(GifWriterTest, ExtensionsReadBackWhatWasWritten) {
    TGIFImageModel image;
    TGIFSubImage frame(&image);
    TGIFTextExtension text(&image, &frame);
    text.Left = 3;
    text.Height = 0x1234;
    text.CellWidth = 8;
    text.BackgroundColorIndex = 9;
    text.Lines = {"a", std::string(256, 'b')};
    TMemoryStream stream;
    text.SaveToStream(stream);
    stream.SetPosition(0);
    TGIFTextExtension back(&image, &frame);
    back.LoadFromStream(stream);
    EXPECT_EQ(back.Left, 3);
    EXPECT_EQ(back.Height, 0x1234);
    EXPECT_EQ(back.CellWidth, 8);
    EXPECT_EQ(back.BackgroundColorIndex, 9);
    EXPECT_EQ(back.Lines, (std::vector<std::string>{"a", std::string(255, 'b'), "b"}));
    EXPECT_EQ(stream.Position(), stream.Size());

    TGIFUnknownAppExtension app(&image, &frame);
    app.SetIdentifier("XMP DataXMP");
    app.Blocks = {TGIFBlock{{1, 2, 3}}, TGIFBlock{{4}}};
    TMemoryStream appStream;
    app.SaveToStream(appStream);
    appStream.SetPosition(0);
    TGIFUnknownAppExtension appBack(&image, &frame);
    appBack.LoadFromStream(appStream);
    EXPECT_EQ(appBack.IdentifierText(), "XMP DataXMP");
    ASSERT_EQ(appBack.Blocks.size(), 2u);
    EXPECT_EQ(appBack.Blocks[0].Data, Bytes({1, 2, 3}));

    TMemoryStream wrongLabel(Bytes({0x21, 0xFE, 0}));
    try {
        TGIFGraphicControlExtension(&image, &frame).LoadFromStream(wrongLabel);
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Internal error: Extension Instance does not match Extension Label");
    }
}

TEST(GifWriterTest, WrittenFilesReadBackIntoTheSameModel) {
    for (int coding : {GifCoding::Lzw, GifCoding::RunLength})
        for (bool interlaced : {false, true}) {
            TGIFImageModel image;
            image.CodingMethod = coding;
            std::vector<uint8_t> pixels = RunPixels(41 * 13, 9, 12, 99);
            AddFrame(image, 41, 13, GreyRamp(9), pixels, interlaced);
            TMemoryStream stream;
            image.SaveToStream(stream);
            stream.SetPosition(0);
            TGIFImageModel back;
            back.LoadFromStream(stream);
            ASSERT_EQ(back.Images.Count(), 1);
            EXPECT_EQ(back.Images[0].Data, pixels);
            EXPECT_EQ(back.Images[0].Interlaced(), interlaced);
            EXPECT_EQ(back.Images[0].ColorMap.Count(), 16);  // 9 colours padded to 2^4
            EXPECT_EQ(back.Images[0].ColorMap[8], GreyRamp(9)[8]);
            EXPECT_EQ(SaveToBytes(back)[22], SaveToBytes(image)[22]);
        }
}
