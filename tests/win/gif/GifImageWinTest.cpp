#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "base/Exceptions.h"
#include "base/FileStream.h"
#include "gif/colour/ColorReduction_win.h"
#include "gif/colour/TrueColorAssign.h"
#include "gif/show/GifPicture_win.h"
#include "picture/Picture_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "toolkit/Canvas_win.h"

namespace {

// A 24-bit bitmap with the given colours, row by row.
std::unique_ptr<TBitmap> TrueColorBitmap(int width, int height, const std::function<TGIFColor(int x, int y)>& color) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<uint8_t*>(bitmap->ScanLine(y));
        for (int x = 0; x < width; ++x) {
            TGIFColor c = color(x, y);
            row[3 * x] = c.Blue;
            row[3 * x + 1] = c.Green;
            row[3 * x + 2] = c.Red;
        }
    }
    return bitmap;
}

std::vector<uint8_t> Saved(const TGIFImage& image) {
    TMemoryStream stream;
    image.SaveToStream(stream);
    return stream.Bytes();
}

// The same picture through the platform-free path: reduce the rows and write them.
std::vector<uint8_t> SavedThroughModel(int width, int height, const std::function<TGIFColor(int x, int y)>& color) {
    std::vector<uint8_t> bgr;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            TGIFColor c = color(x, y);
            bgr.insert(bgr.end(), {c.Blue, c.Green, c.Red});
        }
    TGIFImageModel model;
    AssignTrueColor(model, {width, height, [&](int row) { return bgr.data() + static_cast<size_t>(row) * width * 3; }});
    TMemoryStream stream;
    model.SaveToStream(stream);
    return stream.Bytes();
}

TGIFColor Stripes(int x, int y) {
    static const TGIFColor colors[] = {{255, 0, 0}, {47, 47, 47}, {48, 48, 48}, {255, 255, 255}, {10, 130, 250}};
    return colors[(x / 3 + y) % 5];
}

std::string TempGifPath(const std::string& name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(GifImageWinTest, TrueColorBitmapGoesToTheWebPalette) {
    auto bitmap = TrueColorBitmap(4, 1, [](int x, int) {
        static const TGIFColor colors[] = {{255, 0, 0}, {47, 47, 47}, {48, 48, 48}, {255, 255, 255}};
        return colors[x];
    });
    TGIFImage image;
    image.Assign(bitmap.get());
    ASSERT_EQ(image.Images.Count(), 1);
    const TGIFSubImage& frame = image.Images[0];
    EXPECT_EQ(frame.Data, (std::vector<uint8_t>{180, 0, 43, 215}));
    EXPECT_EQ(frame.ColorMap.Count(), 256);
    EXPECT_EQ(frame.ColorMap[43], (TGIFColor{51, 51, 51}));
    EXPECT_EQ(frame.ColorMap[216], (TGIFColor{0, 0, 0}));
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.Height(), 1);
    std::vector<uint8_t> file = Saved(image);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 6), "GIF87a");
    EXPECT_EQ(file[10], 0x77);
    EXPECT_EQ(file[22], 0x87);
    EXPECT_EQ(file.back(), 0x3B);
    EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
}

TEST(GifImageWinTest, BitmapsOfEveryDepthGiveTheSameFileAsTheRowPath) {
    const int width = 37, height = 23;
    const std::vector<uint8_t> expected = SavedThroughModel(width, height, Stripes);
    for (TPixelFormat format : {pf24bit, pf32bit}) {
        auto source = TrueColorBitmap(width, height, Stripes);
        source->SetPixelFormat(format);
        TGIFImage image;
        image.Assign(source.get());
        EXPECT_EQ(Saved(image), expected) << "format " << format;
    }
    // 15 and 16 bits hold fewer levels: each pixel maps by the colour the bitmap really holds.
    for (TPixelFormat format : {pf15bit, pf16bit}) {
        auto source = TrueColorBitmap(width, height, Stripes);
        source->SetPixelFormat(format);
        TBitmap held;
        held.Assign(source.get());
        held.SetPixelFormat(pf24bit);
        TGIFImage image;
        image.Assign(source.get());
        for (int y = 0; y < height; ++y) {
            const auto* row = static_cast<const uint8_t*>(held.ScanLine(y));
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(image.Images[0].Data[static_cast<size_t>(y) * width + x],
                          TNetscapeColorLookup::IndexOf(row[3 * x + 2], row[3 * x + 1], row[3 * x]))
                    << "format " << format << " at " << x << "," << y;
        }
    }
    // A device-dependent bitmap drawn on with the canvas.
    TBitmap device;
    device.SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            TGIFColor c = Stripes(x, y);
            device.Canvas().SetPixel(x, y, RGB(c.Red, c.Green, c.Blue));
        }
    ASSERT_EQ(device.HandleType(), bmDDB);
    TGIFImage image;
    image.Assign(&device);
    EXPECT_EQ(Saved(image), expected);
}

TEST(GifImageWinTest, IndexedBitmapsAreCopiedWithTheirColorTables) {
    struct Case {
        TPixelFormat format;
        int colors;
        int minimumCodeSize;
    };
    for (Case c : {Case{pf1bit, 2, 2}, Case{pf4bit, 16, 4}, Case{pf8bit, 256, 8}}) {
        TBitmap bitmap;
        bitmap.SetPixelFormat(c.format);
        bitmap.SetSize(19, 7);
        std::vector<TRgbQuad> table;
        for (int i = 0; i < c.colors; ++i)
            table.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 3), 0});
        bitmap.SetColorTable(table);
        std::vector<uint8_t> expected;
        const int bits = c.format == pf1bit ? 1 : c.format == pf4bit ? 4 : 8;
        for (int y = 0; y < 7; ++y) {
            auto* row = static_cast<uint8_t*>(bitmap.ScanLine(y));
            for (int x = 0; x < 19; ++x) {
                const int index = (x * 5 + y * 3) % c.colors;
                expected.push_back(static_cast<uint8_t>(index));
                const int bit = x * bits;
                row[bit / 8] = static_cast<uint8_t>((row[bit / 8] & ~(((1 << bits) - 1) << (8 - bits - bit % 8))) |
                                                    (index << (8 - bits - bit % 8)));
            }
        }
        TGIFImage image;
        image.Assign(&bitmap);
        const TGIFSubImage& frame = image.Images[0];
        EXPECT_EQ(frame.Data, expected) << c.colors;
        ASSERT_EQ(frame.ColorMap.Count(), c.colors);
        EXPECT_EQ(frame.ColorMap[c.colors - 1],
                  (TGIFColor{static_cast<uint8_t>((c.colors - 1) * 3), static_cast<uint8_t>(256 - c.colors),
                             static_cast<uint8_t>(c.colors - 1)}));
        std::vector<uint8_t> file = Saved(image);
        const size_t tableBytes = static_cast<size_t>(3) << TGIFColorMap::DepthForCount(c.colors);
        EXPECT_EQ(file[23 + tableBytes], c.minimumCodeSize);
    }
}

TEST(GifImageWinTest, SystemPalettesComeFromThePlatform) {
    auto bitmap = TrueColorBitmap(16, 16, [](int x, int y) {
        return TGIFColor{static_cast<uint8_t>(x * 16), static_cast<uint8_t>(y * 16), 128};
    });
    PALETTEENTRY stock[20];
    ASSERT_EQ(GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 20, stock), 20u);
    TGIFImage image;
    image.ReductionMethod = GifReduction::StockPalette;
    image.Assign(bitmap.get());
    const TGIFColorMap& map = image.Images[0].ColorMap;
    ASSERT_EQ(map.Count(), 256);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(map[i], (TGIFColor{stock[i].peRed, stock[i].peGreen, stock[i].peBlue})) << i;
    EXPECT_EQ(map[20], (TGIFColor{0, 0, 0}));
    for (uint8_t index : image.Images[0].Data) ASSERT_LT(index, 20);

    TWinSystemPalettes system;
    std::vector<TGIFColor> halftone = system.HalftonePalette();
    ASSERT_GT(halftone.size(), 20u);
    image.ReductionMethod = GifReduction::HalftonePalette;
    image.DitherKind = GifDither::FloydSteinberg;
    image.Assign(bitmap.get());
    for (size_t i = 0; i < halftone.size(); ++i) EXPECT_EQ(image.Images[0].ColorMap[static_cast<int>(i)], halftone[i]);
    for (uint8_t index : image.Images[0].Data) ASSERT_LT(index, halftone.size());
}

TEST(GifImageWinTest, LargePicturesTakeTheSamePath) {
    const int width = 800, height = 700;  // more than 500000 pixels
    auto bitmap = TrueColorBitmap(width, height, Stripes);
    std::unique_ptr<TBitmap> reduced = ReduceColors(*bitmap, GifReduction::WebPalette, 0, nullptr, 8);
    EXPECT_EQ(reduced->PixelFormat(), pf8bit);
    EXPECT_EQ(reduced->Width(), width);
    EXPECT_EQ(static_cast<uint8_t*>(reduced->ScanLine(699))[0], 16);  // (10, 130, 250)
    TGIFImage image;
    image.Assign(bitmap.get());
    EXPECT_EQ(Saved(image), SavedThroughModel(width, height, Stripes));
}

TEST(GifImageWinTest, MethodZeroKeepsColorsAndOverflowsPast256) {
    auto few = TrueColorBitmap(20, 10, [](int x, int y) { return TGIFColor{static_cast<uint8_t>(x * 10), static_cast<uint8_t>(y), 7}; });
    TGIFImage image;
    image.ReductionMethod = GifReduction::KeepColors;
    image.Assign(few.get());
    EXPECT_EQ(image.Images[0].ColorMap.Count(), 200);
    EXPECT_EQ(image.Images[0].ColorMap[0], (TGIFColor{0, 0, 7}));
    EXPECT_EQ(image.Images[0].Data[21], 21);

    auto many = TrueColorBitmap(20, 13, [](int x, int y) { return TGIFColor{static_cast<uint8_t>(x * 10), static_cast<uint8_t>(y), 7}; });
    try {
        image.Assign(many.get());
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Color table overflow");
    }
    EXPECT_TRUE(image.Empty());
}

TEST(GifImageWinTest, TransparentBitmapsCarryAGraphicControlExtension) {
    auto bitmap = TrueColorBitmap(4, 4, [](int x, int y) { return x + y < 3 ? TGIFColor{255, 0, 255} : TGIFColor{0, 255, 0}; });
    bitmap->SetTransparentColor(RGB(255, 0, 255));
    bitmap->SetTransparent(true);
    TGIFImage image;
    image.Assign(bitmap.get());
    const TGIFSubImage& frame = image.Images[0];
    ASSERT_NE(frame.GraphicControlExtension, nullptr);
    EXPECT_EQ(frame.GraphicControlExtension->TransparentColorIndex, 36 * 5 + 5);
    EXPECT_EQ(Saved(image)[4], '9');
}

TEST(GifImageWinTest, SavingAFileThatFailsKeepsTheOldOne) {
    const std::string path = TempGifPath("tervane-gif-save.gif");
    auto bitmap = TrueColorBitmap(8, 8, Stripes);
    TGIFImage image;
    image.Assign(bitmap.get());
    image.SaveToFile(path);
    const std::string good = FileText(path);
    EXPECT_EQ(good.substr(0, 6), "GIF87a");
    std::vector<uint8_t> bytes(good.begin(), good.end());
    EXPECT_EQ(bytes, Saved(image));

    image.Images[0].ColorMap.Assign(image.Images[0].ColorMap.Data(), 2);  // pixels now beyond the map
    try {
        image.SaveToFile(path);
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Color not in color table");
    }
    EXPECT_EQ(FileText(path), good);
    std::remove(path.c_str());
}

TEST(GifImageWinTest, UnitRegistersTheFormatAndClipboardName) {
    InitializeGifUnit();
    EXPECT_EQ(TPicture::FileFormats().FindExt("GIF"), TGIFImage::StaticClass());
    EXPECT_EQ(TPicture::FileFormats().FindExt("gif"), TGIFImage::StaticClass());
    const auto& entries = TPicture::FileFormats().Entries();
    auto entry = std::find_if(entries.begin(), entries.end(), [](const TFileFormat& f) { return f.extension == "gif"; });
    ASSERT_NE(entry, entries.end());
    EXPECT_EQ(entry->description, "GIF Image");
    char name[64] = {};
    ASSERT_NE(CF_GIF, 0u);
    GetClipboardFormatNameA(CF_GIF, name, sizeof name);
    EXPECT_STREQ(name, "GIF Image");
    FinalizeGifUnit();
    EXPECT_EQ(TPicture::FileFormats().FindExt("gif"), nullptr);
}

TEST(GifImageWinTest, FirstFrameDrawsOntoABitmap) {
    auto bitmap = TrueColorBitmap(6, 3, Stripes);
    TGIFImage image;
    image.Assign(bitmap.get());
    TBitmap target;
    target.Assign(&image);
    ASSERT_EQ(target.Width(), 6);
    ASSERT_EQ(target.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) {
            TGIFColor c = Stripes(x, y);
            TNetscapeColorLookup lookup;
            TGIFColor web;
            lookup.Lookup(c.Red, c.Green, c.Blue, web);
            EXPECT_EQ(ColorToRGB(target.Canvas().Pixel(x, y)), RGB(web.Red, web.Green, web.Blue)) << x << "," << y;
        }
}

TEST(GifImageWinTest, SavedPictureLoadsBackThroughThePictureContainer) {
    InitializeGifUnit();
    const std::string path = TempGifPath("tervane-gif-roundtrip.GIF");
    auto bitmap = TrueColorBitmap(30, 20, Stripes);
    TGIFImage image;
    image.Assign(bitmap.get());
    image.SaveToFile(path);
    TPicture picture;
    picture.LoadFromFile(path);
    ASSERT_NE(picture.Graphic(), nullptr);
    ASSERT_TRUE(picture.Graphic()->InheritsFrom(TGIFImage::StaticClass()));
    const auto* loaded = static_cast<const TGIFImage*>(picture.Graphic());
    EXPECT_EQ(picture.Width(), 30);
    EXPECT_EQ(picture.Height(), 20);
    EXPECT_EQ(loaded->Images[0].Data, image.Images[0].Data);
    TGIFImage copy;
    copy.Assign(loaded);
    EXPECT_EQ(Saved(copy), Saved(image));
    std::remove(path.c_str());
    FinalizeGifUnit();
}

namespace {

TEST(GifImageWinTest, CopyKeepsEveryFrameAsItIs) {
    // What writing and reading back would lose: an extension-only frame between two pictures
    // (merged into the next), indices beyond the colour table (refused by the writer).
    const TGIFColor two[2] = {{255, 0, 0}, {0, 0, 255}};
    TGIFImage source;
    source.Header.ColorMap.Assign(two, 2);
    auto& damaged = source.Images.Add(std::make_unique<TGIFSubImage>(&source));
    damaged.SetBounds(0, 0, 2, 1);
    damaged.Data = {0, 7};
    auto& between = source.Images.Add(std::make_unique<TGIFSubImage>(&source));
    auto comment = std::make_unique<TGIFCommentExtension>(&source, &between);
    comment->Lines = {"between"};
    between.Extensions.Add(std::move(comment));
    auto& last = source.Images.Add(std::make_unique<TGIFSubImage>(&source));
    last.SetBounds(1, 0, 1, 1);
    last.Data = {1};
    auto control = std::make_unique<TGIFGraphicControlExtension>(&source, &last);
    control->SetTransparent(true);
    control->TransparentColorIndex = 1;
    last.GraphicControlExtension = &static_cast<TGIFGraphicControlExtension&>(last.Extensions.Add(std::move(control)));
    last.Transparent = true;
    source.PaintFlags = 0x0107;

    TGIFImage copy;
    copy.Assign(&source);
    ASSERT_EQ(copy.Images.Count(), 3);
    EXPECT_EQ(copy.Width(), 2);
    EXPECT_EQ(copy.Header.ColorMap.Count(), 2);
    EXPECT_EQ(copy.PaintFlags, 0x0107u);
    EXPECT_EQ(copy.Images[0].Data, (std::vector<uint8_t>{0, 7}));
    EXPECT_TRUE(copy.Images[1].Empty());
    auto* copied = dynamic_cast<const TGIFCommentExtension*>(copy.Images[1].Extensions.First());
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->Lines, (std::vector<std::string>{"between"}));
    EXPECT_EQ(copy.Images[2].Left(), 1);
    EXPECT_TRUE(copy.Images[2].Transparent);
    ASSERT_EQ(copy.Images[2].GraphicControlExtension, &copy.Images[2].Extensions[0]);
    EXPECT_EQ(copy.Images[2].GraphicControlExtension->TransparentColorIndex, 1);
    EXPECT_EQ(copy.Images[2].GraphicControlExtension->SubImage(), &copy.Images[2]);

    // A picture without frames copies as one, replacing what the target held.
    TGIFImage empty;
    EXPECT_NO_THROW(copy.Assign(&empty));
    EXPECT_TRUE(copy.Empty());
}

}  // namespace
