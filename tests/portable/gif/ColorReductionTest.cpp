#include <gtest/gtest.h>

#include <set>

#include "GifTestSupport.h"
#include "GiflibDecode.h"
#include "base/ByteReader.h"
#include "base/Exceptions.h"
#include "gif/colour/ColorQuantizer.h"
#include "gif/colour/Ditherers.h"
#include "gif/colour/TrueColorAssign.h"
#include "gif/colour/WebPaletteRow.h"

namespace {

// A true-colour picture held as rows of blue, green, red.
struct TRgbPicture {
    int Width, Height;
    std::vector<uint8_t> Bytes;

    TRgbPicture(int width, int height) : Width(width), Height(height), Bytes(static_cast<size_t>(width) * height * 3) {}
    void Set(int x, int y, TGIFColor c) {
        uint8_t* p = &Bytes[(static_cast<size_t>(y) * Width + x) * 3];
        p[0] = c.Blue;
        p[1] = c.Green;
        p[2] = c.Red;
    }
    TRgbRows Rows() const {
        return {Width, Height, [this](int row) { return Bytes.data() + static_cast<size_t>(row) * Width * 3; }};
    }
};

TRgbPicture Filled(int width, int height, TGIFColor c) {
    TRgbPicture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.Set(x, y, c);
    return picture;
}

// Smooth colour gradients with some noise: many distinct colours in every slot.
TRgbPicture Gradient(int width, int height) {
    TRgbPicture picture(width, height);
    std::mt19937 random(5);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Set(x, y, {static_cast<uint8_t>(x * 255 / std::max(1, width - 1)),
                               static_cast<uint8_t>(y * 255 / std::max(1, height - 1)),
                               static_cast<uint8_t>((x * 7 + y * 13 + random() % 16) % 256)});
    return picture;
}

class TFakeSystemPalettes : public TSystemPalettes {
public:
    std::vector<TGIFColor> StockPalette() override {
        std::vector<TGIFColor> colors;
        for (int i = 0; i < 20; ++i) colors.push_back({static_cast<uint8_t>(i * 13), static_cast<uint8_t>(255 - i * 11), 77});
        return colors;
    }
    std::vector<TGIFColor> HalftonePalette() override {
        std::vector<TGIFColor> colors;
        for (int i = 0; i < 125; ++i)
            colors.push_back({static_cast<uint8_t>(i % 5 * 63), static_cast<uint8_t>(i / 5 % 5 * 63), static_cast<uint8_t>(i / 25 * 63)});
        return colors;
    }
};

std::vector<uint8_t> Indices(TDIBWriter& dib) {
    std::vector<uint8_t> out;
    for (int y = 0; y < dib.Height(); ++y) out.insert(out.end(), dib.ScanLine(y), dib.ScanLine(y) + dib.Width());
    return out;
}

int WebIndex(TGIFColor c) {
    TNetscapeColorLookup lookup;
    TGIFColor chosen;
    return lookup.Lookup(c.Red, c.Green, c.Blue, chosen);
}

}  // namespace

TEST(ColorLookupTest, WebPaletteEdgeColors) {
    TNetscapeColorLookup lookup;
    TGIFColor chosen;
    EXPECT_EQ(lookup.Lookup(255, 0, 0, chosen), 180);
    EXPECT_EQ(chosen, (TGIFColor{255, 0, 0}));
    EXPECT_EQ(lookup.Lookup(47, 47, 47, chosen), 0);
    EXPECT_EQ(chosen, (TGIFColor{0, 0, 0}));
    EXPECT_EQ(lookup.Lookup(48, 48, 48, chosen), 43);
    EXPECT_EQ(chosen, (TGIFColor{51, 51, 51}));
    EXPECT_EQ(lookup.Lookup(255, 255, 255, chosen), 215);
    const int firstOfLevel[6] = {0, 48, 99, 150, 201, 252};
    for (int level = 0; level < 6; ++level) {
        EXPECT_EQ(TNetscapeColorLookup::Level(static_cast<uint8_t>(firstOfLevel[level])), level);
        if (level > 0) {
            EXPECT_EQ(TNetscapeColorLookup::Level(static_cast<uint8_t>(firstOfLevel[level] - 1)), level - 1);
        }
    }
    EXPECT_EQ(lookup.Lookup(0, 0, 99, chosen), 2);
    EXPECT_EQ(lookup.Lookup(0, 150, 0, chosen), 18);
}

TEST(ColorLookupTest, GreyAndMonochromeWeights) {
    TGrayScaleLookup grey;
    TGIFColor chosen;
    EXPECT_EQ(grey.Lookup(10, 20, 30, chosen), 18);  // (770 + 3000 + 870) >> 8
    EXPECT_EQ(chosen, (TGIFColor{18, 18, 18}));
    EXPECT_EQ(grey.Lookup(255, 255, 255, chosen), 255);
    TMonochromeLookup mono;
    EXPECT_EQ(mono.Lookup(127, 127, 127, chosen), 0);  // 32512
    EXPECT_EQ(chosen, (TGIFColor{0, 0, 0}));
    EXPECT_EQ(mono.Lookup(128, 127, 127, chosen), 1);  // 32589
    EXPECT_EQ(chosen, (TGIFColor{255, 255, 255}));
}

TEST(ColorLookupTest, FastLookupTakesTheFirstOfEqualEntriesAndCachesBySlot) {
    TFastColorLookup lookup({{200, 0, 0}, {10, 200, 10}, {10, 200, 10}, {0, 0, 0}, {7, 7, 7}});
    TGIFColor chosen;
    EXPECT_EQ(lookup.Lookup(10, 200, 10, chosen), 1);
    EXPECT_EQ(lookup.Lookup(12, 190, 14, chosen), 1);
    EXPECT_EQ(chosen, (TGIFColor{10, 200, 10}));
    // (7, 7, 7) shares the slot of black, which black claimed first.
    EXPECT_EQ(lookup.Lookup(7, 7, 7, chosen), 3);
    // Equally far from entries 0 and 3 (distance 100): the first wins, then the slot keeps it.
    EXPECT_EQ(lookup.Lookup(100, 0, 0, chosen), 0);
    EXPECT_EQ(lookup.Lookup(103, 7, 7, chosen), 0);  // nearer to (7, 7, 7), but the slot answers
    EXPECT_EQ(chosen, (TGIFColor{200, 0, 0}));
}

TEST(ColorQuantizerTest, FewColorsComeOutExactlyInTreeOrder) {
    TColorQuantizer quantizer(256);
    for (int i = 0; i < 5; ++i) {
        quantizer.AddColor(255, 0, 0);
        quantizer.AddColor(0, 0, 255);
        quantizer.AddColor(0, 255, 0);
    }
    EXPECT_EQ(quantizer.LeafCount(), 3);
    std::vector<TGIFColor> table = quantizer.ColorTable(4);
    EXPECT_EQ(table, (std::vector<TGIFColor>{{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {0, 0, 0}}));
}

TEST(ColorQuantizerTest, ReductionFoldsTheDeepestNewestNodeFirst) {
    TColorQuantizer quantizer(2);
    quantizer.AddColor(0, 0, 0);
    quantizer.AddColor(255, 255, 255);
    quantizer.AddColor(250, 250, 250);
    EXPECT_EQ(quantizer.LeafCount(), 2);
    EXPECT_EQ(quantizer.ColorTable(2), (std::vector<TGIFColor>{{0, 0, 0}, {252, 252, 252}}));
}

TEST(ColorQuantizerTest, NeverMoreLeavesThanAsked) {
    TRgbPicture picture = Gradient(97, 61);
    for (int bits : {1, 3, 6, 8}) {
        TColorQuantizer quantizer(1 << bits);
        for (int y = 0; y < picture.Height; ++y)
            for (int x = 0; x < picture.Width; ++x) {
                const uint8_t* p = &picture.Bytes[(static_cast<size_t>(y) * picture.Width + x) * 3];
                quantizer.AddColor(p[2], p[1], p[0]);
                ASSERT_LE(quantizer.LeafCount(), 1 << bits);
            }
        EXPECT_GE(quantizer.LeafCount(), (1 << bits) / 2) << bits;
    }
}

TEST(ColorReductionTest, DefaultReductionGivesWebIndicesAnd216PlusBlackTable) {
    TRgbPicture picture(5, 1);
    picture.Set(0, 0, {255, 0, 0});
    picture.Set(1, 0, {47, 47, 47});
    picture.Set(2, 0, {48, 48, 48});
    picture.Set(3, 0, {255, 255, 255});
    picture.Set(4, 0, {100, 160, 230});
    auto dib = ReduceColorRows(picture.Rows(), GifReduction::WebPalette, GifDither::Nearest, nullptr, 8, nullptr);
    ASSERT_TRUE(dib);
    EXPECT_EQ(Indices(*dib), (std::vector<uint8_t>{180, 0, 43, 215, 2 * 36 + 3 * 6 + 4}));
    ASSERT_EQ(dib->Colors().size(), 256u);
    EXPECT_EQ(std::vector<TGIFColor>(dib->Colors().begin(), dib->Colors().begin() + 216), TNetscapeColorLookup::Palette());
    for (size_t i = 216; i < 256; ++i) EXPECT_EQ(dib->Colors()[i], (TGIFColor{0, 0, 0}));

    std::vector<uint8_t> file = dib->ReleaseBitmapFile();
    ByteReader reader(file.data(), file.size());
    EXPECT_EQ(reader.ReadU16LE(), 0x4D42);
    EXPECT_EQ(reader.ReadU32LE(), file.size());
    reader.ReadU32LE();
    EXPECT_EQ(reader.ReadU32LE(), 14u + 40 + 1024);
    EXPECT_EQ(reader.ReadU32LE(), 40u);
    EXPECT_EQ(reader.ReadI32LE(), 5);
    EXPECT_EQ(reader.ReadI32LE(), 1);
    EXPECT_EQ(reader.ReadU16LE(), 1);
    EXPECT_EQ(reader.ReadU16LE(), 8);
    reader.Skip(16);
    EXPECT_EQ(reader.ReadU32LE(), 256u);  // colours used
    EXPECT_EQ(reader.ReadU32LE(), 216u);  // important colours
    EXPECT_EQ(file.size(), 14u + 40 + 1024 + 8);  // one row of 5 bytes padded to 8
    EXPECT_EQ(file[14 + 40 + 180 * 4 + 2], 255);  // entry 180 is red, stored blue-green-red
    EXPECT_EQ(file[14 + 40 + 1024], 180);
    try {
        dib->ScanLine(0);
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Image has no DIB");
    }
}

TEST(ColorReductionTest, FloydSteinbergMixesMidGreyFromTwoWebGreys) {
    TRgbPicture grey = Filled(40, 40, {128, 128, 128});
    auto plain = ReduceColorRows(grey.Rows(), GifReduction::WebPalette, GifDither::Nearest, nullptr, 8, nullptr);
    std::vector<uint8_t> plainIndices = Indices(*plain);
    EXPECT_EQ(std::set<uint8_t>(plainIndices.begin(), plainIndices.end()), std::set<uint8_t>{86});

    auto dithered = ReduceColorRows(grey.Rows(), GifReduction::WebPalette, GifDither::FloydSteinberg, nullptr, 8, nullptr);
    std::vector<uint8_t> indices = Indices(*dithered);
    EXPECT_EQ(std::set<uint8_t>(indices.begin(), indices.end()), (std::set<uint8_t>{86, 129}));
    // The mixture averages out near 128: 102 + 51 x (share of 129).
    double share = static_cast<double>(std::count(indices.begin(), indices.end(), 129)) / static_cast<double>(indices.size());
    EXPECT_NEAR(102 + 51 * share, 128, 3);
    // The first row carries its error along and stays dark; the mix starts below it.
    EXPECT_EQ(std::count(indices.begin(), indices.begin() + 40, 129), 0);
}

namespace {

// The error diffusion written out plainly over a whole-picture error array, to check the
// ditherers' rotating rows and mirrored weights against.
struct TWeight {
    int dx, dy, weight;
};

std::vector<uint8_t> ReferenceDither(const TRgbPicture& picture, int divisor, const std::vector<TWeight>& weights) {
    const int pad = 3, width = picture.Width, height = picture.Height;
    std::vector<int> errors(static_cast<size_t>(height + 4) * (width + 2 * pad) * 3, 0);
    auto at = [&](int x, int y) { return &errors[(static_cast<size_t>(y) * (width + 2 * pad) + x + pad) * 3]; };
    TNetscapeColorLookup lookup;
    std::vector<uint8_t> out(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const int dir = y % 2 == 0 ? 1 : -1;
        for (int i = 0; i < width; ++i) {
            const int x = dir > 0 ? i : width - 1 - i;
            const uint8_t* p = &picture.Bytes[(static_cast<size_t>(y) * width + x) * 3];
            int v[3];
            for (int c = 0; c < 3; ++c) v[c] = std::clamp(p[2 - c] + (at(x, y)[c] + divisor / 2) / divisor, 0, 255);
            TGIFColor chosen;
            out[static_cast<size_t>(y) * width + x] =
                static_cast<uint8_t>(lookup.Lookup(static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]),
                                                   static_cast<uint8_t>(v[2]), chosen));
            const int e[3] = {v[0] - chosen.Red, v[1] - chosen.Green, v[2] - chosen.Blue};
            for (const TWeight& w : weights) {
                const int tx = x + dir * w.dx;
                if (tx < -pad || tx >= width + pad) continue;
                for (int c = 0; c < 3; ++c) at(tx, y + w.dy)[c] += e[c] * w.weight;
            }
        }
    }
    return out;
}

}  // namespace

TEST(ColorReductionTest, EveryDitherKindSpreadsItsWeightsAlongSerpentineRows) {
    const std::vector<TWeight> kernels[7] = {
        {},
        {{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}},
        {{1, 0, 8}, {2, 0, 4}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2},
         {-2, 2, 1}, {-1, 2, 2}, {0, 2, 4}, {1, 2, 2}, {2, 2, 1}},
        {{1, 0, 5}, {2, 0, 3}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 5}, {1, 1, 4}, {2, 1, 2}, {-1, 2, 2}, {0, 2, 3}, {1, 2, 2}},
        {{1, 0, 7}, {2, 0, 5}, {-2, 1, 3}, {-1, 1, 5}, {0, 1, 7}, {1, 1, 5}, {2, 1, 3},
         {-2, 2, 1}, {-1, 2, 3}, {0, 2, 5}, {1, 2, 3}, {2, 2, 1}},
        {{2, 0, 32}, {-3, 1, 12}, {-1, 1, 26}, {1, 1, 30}, {3, 1, 16}, {-2, 2, 12}, {0, 2, 26}, {2, 2, 12},
         {-3, 3, 5}, {-1, 3, 12}, {1, 3, 12}, {3, 3, 5}},
        {{1, 0, 8}, {2, 0, 4}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2}},
    };
    const int divisors[7] = {1, 16, 42, 32, 48, 200, 32};
    TRgbPicture picture = Gradient(23, 17);
    for (int kind = 0; kind <= 6; ++kind) {
        auto dib = ReduceColorRows(picture.Rows(), GifReduction::WebPalette, kind, nullptr, 8, nullptr);
        ASSERT_TRUE(dib);
        EXPECT_EQ(Indices(*dib), ReferenceDither(picture, divisors[kind], kernels[kind])) << "kind " << kind;
    }
    EXPECT_FALSE(ReduceColorRows(picture.Rows(), GifReduction::WebPalette, 7, nullptr, 8, nullptr));
}

TEST(ColorReductionTest, PalettesOfTheMethods) {
    TRgbPicture picture = Gradient(40, 30);
    TFakeSystemPalettes system;
    auto fourGreys = ReduceColorRows(picture.Rows(), GifReduction::FourGreys, 0, nullptr, 8, &system);
    EXPECT_EQ(std::vector<TGIFColor>(fourGreys->Colors().begin(), fourGreys->Colors().begin() + 5),
              (std::vector<TGIFColor>{{0, 0, 0}, {128, 128, 128}, {192, 192, 192}, {255, 255, 255}, {0, 0, 0}}));
    EXPECT_EQ(fourGreys->ImportantColors(), 4);

    EXPECT_EQ(ReduceColorRows(picture.Rows(), GifReduction::Monochrome, 0, nullptr, 8, &system)->ImportantColors(), 2);
    auto greys = ReduceColorRows(picture.Rows(), GifReduction::Greys, 0, nullptr, 8, &system);
    EXPECT_EQ(greys->Colors()[77], (TGIFColor{77, 77, 77}));

    auto stock = ReduceColorRows(picture.Rows(), GifReduction::StockPalette, 0, nullptr, 8, &system);
    EXPECT_EQ(stock->ImportantColors(), 20);
    EXPECT_EQ(ReduceColorRows(picture.Rows(), GifReduction::HalftonePalette, 0, nullptr, 8, &system)->ImportantColors(), 125);

    auto octree = ReduceColorRows(picture.Rows(), GifReduction::Octree, 0, nullptr, 4, &system);
    EXPECT_EQ(octree->ImportantColors(), 16);
    for (uint8_t index : Indices(*octree)) ASSERT_LT(index, 16);

    auto framed = ReduceColorRows(picture.Rows(), GifReduction::OctreeFramed, 0, nullptr, 8, &system);
    std::vector<TGIFColor> stockColors = system.StockPalette();
    EXPECT_EQ(framed->ImportantColors(), 256);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(framed->Colors()[static_cast<size_t>(i)], stockColors[static_cast<size_t>(i)]);
        EXPECT_EQ(framed->Colors()[static_cast<size_t>(246 + i)], stockColors[static_cast<size_t>(10 + i)]);
    }

    std::vector<TGIFColor> given = {{9, 9, 9}, {250, 10, 10}, {10, 250, 10}};
    auto copy = ReduceColorRows(picture.Rows(), GifReduction::GivenPalette, 0, &given, 8, &system);
    EXPECT_EQ(copy->ImportantColors(), 3);
    EXPECT_EQ(copy->Colors()[1], (TGIFColor{250, 10, 10}));

    // Nothing to reduce with: the caller's result stays as it was.
    EXPECT_FALSE(ReduceColorRows(picture.Rows(), GifReduction::GivenPalette, 0, nullptr, 8, &system));
    EXPECT_FALSE(ReduceColorRows(picture.Rows(), GifReduction::StockPalette, 0, nullptr, 8, nullptr));
    EXPECT_FALSE(ReduceColorRows(picture.Rows(), 10, 0, nullptr, 8, &system));
}

TEST(ColorReductionTest, ImageWriterErrors) {
    auto expectGifError = [](auto make, const char* text) {
        try {
            make();
            ADD_FAILURE() << text;
        } catch (const GIFException& e) {
            EXPECT_STREQ(e.what(), text);
        }
    };
    std::vector<TGIFColor> palette = TNetscapeColorLookup::Palette();
    expectGifError([&] { TDIBWriter(palette, 0, 5, 8); }, "Invalid image dimensions");
    expectGifError([&] { TDIBWriter(palette, 5, 0, 8); }, "Invalid image dimensions");
    expectGifError([&] { TDIBWriter(palette, 5, 5, 16); }, "Unsupported PixelFormat");
    expectGifError([&] { ReduceColorRows(TRgbPicture(0, 4).Rows(), GifReduction::WebPalette, 0, nullptr, 8, nullptr); },
                   "Invalid image dimensions");
    try {
        TDIBWriter(palette, 65535, 65535, 24);
        ADD_FAILURE();
    } catch (const EOutOfMemory& e) {
        EXPECT_STREQ(e.what(), "Failed to allocate memory for GIF DIB");
    }
    TDIBWriter dib(palette, 3, 3, 8);
    EXPECT_THROW(dib.ScanLine(3), EInvalidGraphicOperation);
    EXPECT_THROW(dib.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(ColorReductionTest, EveryMethodAndDitherKindWritesAGifThatGiflibReadsBack) {
    TFakeSystemPalettes system;
    TRgbPicture picture = Gradient(37, 19);
    for (int method = 0; method <= 8; ++method)
        for (int kind = 0; kind <= 6; ++kind) {
            SCOPED_TRACE(testing::Message() << "method " << method << " dither " << kind);
            TGIFImageModel image;
            image.ReductionMethod = method;
            image.DitherKind = kind;
            image.QuantizeBits = 5;
            if (method == 0) {
                // Keeping the colours needs a picture of at most 256 of them.
                TRgbPicture few(37, 19);
                for (int y = 0; y < 19; ++y)
                    for (int x = 0; x < 37; ++x) few.Set(x, y, {static_cast<uint8_t>(x % 16 * 16), static_cast<uint8_t>(y % 8 * 32), 3});
                AssignTrueColor(image, few.Rows(), &system);
            } else {
                AssignTrueColor(image, picture.Rows(), &system);
            }
            const TGIFSubImage& frame = image.Images[0];
            std::vector<uint8_t> file = SaveToBytes(image);
            TDecodedGif decoded = DecodeWithGiflib(file);
            ASSERT_TRUE(decoded.Ok) << decoded.Error;
            EXPECT_EQ(decoded.Frames[0].Pixels, frame.Data);
            std::vector<TGIFColor> colors(frame.ColorMap.Data(), frame.ColorMap.Data() + frame.ColorMap.Count());
            colors.resize(size_t{1} << frame.ColorMap.BitsPerPixel());
            EXPECT_EQ(decoded.Frames[0].LocalColors, colors);
            if (method == GifReduction::WebPalette && kind == 0) {
                for (int y = 0; y < picture.Height; y += 5)
                    for (int x = 0; x < picture.Width; x += 3) {
                        const uint8_t* p = &picture.Bytes[(static_cast<size_t>(y) * picture.Width + x) * 3];
                        ASSERT_EQ(frame.Data[static_cast<size_t>(y) * picture.Width + x], WebIndex({p[2], p[1], p[0]}));
                    }
            }
        }
}

TEST(ColorReductionTest, WholeRowWebMappingMatchesThePixelRuleForEveryValue) {
    // Every value in every channel, in rows whose widths leave tails of every length.
    for (int width : {1, 15, 16, 17, 31, 32, 47, 49, 95, 256}) {
        for (int channel = 0; channel < 3; ++channel) {
            for (int start = 0; start < 256; start += width) {
                std::vector<uint8_t> bgr(static_cast<size_t>(width) * 3, 77);
                for (int x = 0; x < width; ++x) bgr[static_cast<size_t>(x) * 3 + channel] = static_cast<uint8_t>((start + x) % 256);
                std::vector<uint8_t> out(static_cast<size_t>(width));
                MapRowToWebPalette(bgr.data(), out.data(), width);
                for (int x = 0; x < width; ++x) {
                    const uint8_t* p = &bgr[static_cast<size_t>(x) * 3];
                    ASSERT_EQ(out[static_cast<size_t>(x)], WebIndex({p[2], p[1], p[0]})) << width << " " << x;
                }
            }
        }
    }
}
