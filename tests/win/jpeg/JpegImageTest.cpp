// The JPEG picture object on real GDI bitmaps, under Wine.
#include <gtest/gtest.h>

#include "JpegImageTestSupport.h"
#include "base/FileStream.h"
#include "picture/Picture_win.h"
#include "picture/ico/Icon_win.h"
#include "picture/jpeg/JpegImage_win.h"
#include "toolkit/Canvas_win.h"

namespace {

const SyntheticPhoto& Photo() {
    static const SyntheticPhoto photo = MakeSyntheticPhoto(61, 37);
    return photo;
}

// Writing a picture as the conversion page does: copy a bitmap, set the quality, compress.
std::vector<uint8_t> JpegOfPhoto(int quality, bool viaCompress = true) {
    TBitmap bitmap;
    FillBitmap(bitmap, Photo());
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    jpeg.SetQualityLevel(static_cast<uint8_t>(quality));
    if (viaCompress) jpeg.Compress();
    TMemoryStream out;
    jpeg.SaveToStream(out);
    return out.Bytes();
}

std::unique_ptr<TJPEGImage> LoadedJpeg(const std::vector<uint8_t>& bytes) {
    auto jpeg = std::make_unique<TJPEGImage>();
    TMemoryStream in(bytes);
    jpeg->LoadFromStream(in);
    return jpeg;
}

// Draws a graphic at (0, 0) onto a new bitmap of its size, as the conversion engine does.
void DrawOnBitmap(TGraphic& graphic) {
    TBitmap target;
    target.SetSize(std::max(graphic.Width(), 1), std::max(graphic.Height(), 1));
    target.Canvas().Draw(0, 0, &graphic);
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(no error)";
}

// The program starts the JPEG unit before anything else runs; so do these tests.
class JpegUnitEnvironment : public ::testing::Environment {
public:
    void SetUp() override { InitializeJpegUnit(); }
    void TearDown() override { FinalizeJpegUnit(); }
};
const ::testing::Environment* const jpegUnit = ::testing::AddGlobalTestEnvironment(new JpegUnitEnvironment);

TEST(JpegImageRegistry, JpegAndJpgAreRegisteredAfterTheBuiltInFormats) {
    const auto& entries = TPicture::FileFormats().Entries();
    std::vector<std::string> jpegExtensions;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].graphicClass != TJPEGImage::StaticClass()) continue;
        EXPECT_GE(i, 4u);
        EXPECT_EQ(entries[i].description, "JPEG Image File");
        EXPECT_EQ(entries[i].descriptionResource, 0);
        jpegExtensions.push_back(entries[i].extension);
    }
    EXPECT_EQ(jpegExtensions, (std::vector<std::string>{"jpeg", "jpg"}));
    EXPECT_EQ(TPicture::FileFormats().FindExt("JPG"), TJPEGImage::StaticClass());
}

TEST(JpegImageRegistry, PicturesLoadJpegFilesByExtensionInAnyCase) {
    std::vector<uint8_t> bytes = ReadFileBytes(JpegFixturePath("photo.jpg"));
    for (const char* name : {"photo.JPG", "photo.Jpeg", "photo.jpg"}) {
        std::string path = JpegTempPath(name);
        WriteBytesTo(path, bytes);
        TPicture picture;
        picture.LoadFromFile(path);
        ASSERT_NE(picture.Graphic(), nullptr) << name;
        EXPECT_EQ(picture.Graphic()->ClassType(), TJPEGImage::StaticClass()) << name;
        EXPECT_EQ(picture.Width(), 48);
        EXPECT_EQ(picture.Height(), 32);
        DeleteFileA(path.c_str());
    }
}

TEST(JpegImageSettings, NewObjectsTakeTheDefaults) {
    TJPEGImage jpeg;
    EXPECT_EQ(jpeg.QualityLevel(), 90);
    EXPECT_FALSE(jpeg.GrayOutput());
    EXPECT_EQ(jpeg.SpeedMode(), TJpegSpeedMode::BestQuality);
    EXPECT_EQ(jpeg.OutputDepth(), TJpegOutputDepth::Bits24);  // the test display has 24 bits
    EXPECT_FALSE(jpeg.ShowProgressively());
    EXPECT_FALSE(jpeg.WriteProgressive());
    EXPECT_EQ(jpeg.ReductionScale(), TJpegReductionScale::Full);
    EXPECT_TRUE(jpeg.BlockSmoothing());
    EXPECT_TRUE(jpeg.Empty());
    EXPECT_EQ(jpeg.Width(), 0);

    TJpegSettings saved = DefaultJpegSettings;
    DefaultJpegSettings.QualityLevel = 40;
    DefaultJpegSettings.OutputDepth = TJpegOutputDepth::Bits8;
    TJPEGImage later;
    DefaultJpegSettings = saved;
    EXPECT_EQ(later.QualityLevel(), 40);
    EXPECT_EQ(later.OutputDepth(), TJpegOutputDepth::Bits8);
}

TEST(JpegImageSettings, SizeCannotBeChanged) {
    auto jpeg = LoadedJpeg(ReadFileBytes(JpegFixturePath("photo.jpg")));
    EXPECT_EQ(ErrorOf([&] { jpeg->SetWidth(10); }), "Cannot change the size of a JPEG image");
    EXPECT_EQ(ErrorOf([&] { jpeg->SetHeight(10); }), "Cannot change the size of a JPEG image");
    EXPECT_THROW(jpeg->SetWidth(10), EInvalidGraphicOperation);
    EXPECT_EQ(jpeg->Width(), 48);
}

TEST(JpegImageSettings, ReducedScaleReportsLibjpegsSizeAndDecodesToIt) {
    auto jpeg = LoadedJpeg(ReadFileBytes(JpegFixturePath("photo.jpg")));
    jpeg->SetReductionScale(TJpegReductionScale::Quarter);
    EXPECT_EQ(jpeg->Width(), 12);
    EXPECT_EQ(jpeg->Height(), 8);
    EXPECT_EQ(jpeg->Bitmap().Width(), 12);
    // Back to full size: the reduced picture is dropped and decoded again.
    jpeg->SetReductionScale(TJpegReductionScale::Full);
    EXPECT_EQ(jpeg->DecodedBitmap(), nullptr);
    EXPECT_EQ(jpeg->Bitmap().Width(), 48);
}

TEST(JpegImageEncoding, QualityZeroEqualsQualityOneAndHundredHasUnitTables) {
    EXPECT_EQ(JpegOfPhoto(0), JpegOfPhoto(1));
    EXPECT_NE(JpegOfPhoto(1), JpegOfPhoto(2));
    std::vector<uint8_t> best = JpegOfPhoto(100);
    // The first quantisation table follows its marker, length and table byte.
    size_t at = 2;
    while (at + 4 < best.size() && best[at + 1] != 0xDB) at += 2 + (best[at + 2] << 8 | best[at + 3]);
    ASSERT_LT(at + 5 + 64, best.size());
    for (size_t i = 0; i < 64; ++i) EXPECT_EQ(best[at + 5 + i], 1) << i;
}

TEST(JpegImageEncoding, SavingWithoutCompressUsesTheDefaultQuality) {
    // The icon page's order: copy a bitmap and save.
    EXPECT_EQ(JpegOfPhoto(90, false), JpegOfPhoto(90));
    EXPECT_NE(JpegOfPhoto(65, true), JpegOfPhoto(90));
}

TEST(JpegImageEncoding, WrittenPictureDecodesCloseToTheBitmap) {
    auto jpeg = LoadedJpeg(JpegOfPhoto(95));
    EXPECT_EQ(jpeg->Width(), 61);
    EXPECT_EQ(jpeg->Height(), 37);
    TBitmap copy;
    copy.Assign(jpeg.get());
    EXPECT_EQ(copy.PixelFormat(), pf24bit);
    EXPECT_LT(MeanDifference(BgrPixels(copy), Photo().Packed()), 4.0);
}

TEST(JpegImageEncoding, BitmapsOfOtherDepthsAreConvertedFirst) {
    TBitmap bitmap;
    FillBitmap(bitmap, Photo());
    bitmap.SetPixelFormat(pf32bit);
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    jpeg.Compress();
    TBitmap decoded;
    decoded.Assign(LoadedJpeg(jpeg.Data().CompressedBytes->Bytes()).get());
    EXPECT_LT(MeanDifference(BgrPixels(decoded), Photo().Packed()), 4.0);
    // The given bitmap is left as it was.
    EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
}

TEST(JpegImageEncoding, ZeroSizedBitmapSavesAnEmptyFile) {
    TBitmap empty;
    TJPEGImage jpeg;
    jpeg.Assign(&empty);
    std::string path = JpegTempPath("empty-out.jpg");
    jpeg.SaveToFile(path);
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(ReadFileBytes(path).empty());
    DeleteFileA(path.c_str());
}

TEST(JpegImageEncoding, GreyOutputMarksTheDataGrey) {
    TBitmap bitmap;
    FillBitmap(bitmap, Photo());
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    jpeg.SetGrayOutput(true);
    jpeg.Compress();
    EXPECT_TRUE(jpeg.Data().IsGray);
    EXPECT_TRUE(LoadedJpeg(jpeg.Data().CompressedBytes->Bytes())->Data().IsGray);
}

TEST(JpegImageDecoding, CjpegFilesDecodeAsDjpegDecodesThem) {
    for (const char* name : {"photo", "progressive"}) {
        TPicture picture;
        picture.LoadFromFile(JpegFixturePath(std::string(name) + ".jpg"));
        TBitmap bitmap;
        bitmap.Assign(picture.Graphic());
        int width = 0, height = 0;
        std::vector<uint8_t> reference = NetpbmAsBgr(JpegFixturePath(std::string(name) + ".ppm"), width, height);
        EXPECT_EQ(bitmap.Width(), width);
        EXPECT_EQ(bitmap.Height(), height);
        EXPECT_EQ(BgrPixels(bitmap), reference) << name;
    }
}

TEST(JpegImageDecoding, ProgressiveFilesSetWriteProgressive) {
    EXPECT_TRUE(LoadedJpeg(ReadFileBytes(JpegFixturePath("progressive.jpg")))->WriteProgressive());
    EXPECT_FALSE(LoadedJpeg(ReadFileBytes(JpegFixturePath("photo.jpg")))->WriteProgressive());
}

TEST(JpegImageDecoding, GreyFileGivesAnEightBitBitmapWithAGreyPalette) {
    auto jpeg = LoadedJpeg(ReadFileBytes(JpegFixturePath("grey.jpg")));
    EXPECT_TRUE(jpeg->Data().IsGray);
    ASSERT_EQ(jpeg->OutputDepth(), TJpegOutputDepth::Bits24);
    TBitmap& bitmap = jpeg->Bitmap();
    EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
    const auto& table = bitmap.DibFormat().colors;
    ASSERT_GT(table.size(), 100u);
    ASSERT_LE(table.size(), 236u);
    for (const TRgbQuad& c : table) {
        EXPECT_EQ(c.red, c.green);
        EXPECT_EQ(c.green, c.blue);
    }
    EXPECT_NE(jpeg->Palette(), nullptr);
    int width = 0, height = 0;
    std::vector<uint8_t> reference = NetpbmAsBgr(JpegFixturePath("grey.pgm"), width, height);
    EXPECT_LT(MeanDifference(BgrPixels(bitmap), reference), 1.0);
}

TEST(JpegImageDecoding, EightBitDepthQuantisesColourFiles) {
    auto jpeg = LoadedJpeg(ReadFileBytes(JpegFixturePath("photo.jpg")));
    jpeg->SetOutputDepth(TJpegOutputDepth::Bits8);
    TBitmap& bitmap = jpeg->Bitmap();
    EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
    EXPECT_LE(bitmap.DibFormat().colors.size(), 236u);
    int width = 0, height = 0;
    std::vector<uint8_t> reference = NetpbmAsBgr(JpegFixturePath("photo.ppm"), width, height);
    EXPECT_LT(MeanDifference(BgrPixels(bitmap), reference), 12.0);
}

TEST(JpegImageDecoding, FileCutAfterItsHeaderDrawsWithoutError) {
    std::vector<uint8_t> bytes = ReadFileBytes(JpegFixturePath("photo.jpg"));
    size_t at = 2;
    while (bytes[at + 1] != 0xDA) at += 2 + (bytes[at + 2] << 8 | bytes[at + 3]);
    bytes.resize(at + 2 + (bytes[at + 2] << 8 | bytes[at + 3]) + 40);
    auto jpeg = LoadedJpeg(bytes);
    EXPECT_EQ(jpeg->Width(), 48);
    EXPECT_NO_THROW(DrawOnBitmap(*jpeg));
    EXPECT_EQ(jpeg->Bitmap().Height(), 32);
}

TEST(JpegImageDecoding, FileCutInsideItsHeaderFailsToLoad) {
    std::vector<uint8_t> bytes = ReadFileBytes(JpegFixturePath("photo.jpg"));
    bytes.resize(100);
    TJPEGImage jpeg;
    TMemoryStream in(bytes);
    EXPECT_THROW(jpeg.LoadFromStream(in), EJPEG);
    // The bytes stay, without a size.
    EXPECT_FALSE(jpeg.Empty());
    EXPECT_EQ(jpeg.Width(), 0);
}

TEST(JpegImageDecoding, EmptyFileLoadsAndFailsWhenFirstDrawn) {
    std::string path = JpegTempPath("empty.jpg");
    WriteBytesTo(path, {});
    TPicture picture;
    ASSERT_NO_THROW(picture.LoadFromFile(path));
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_FALSE(picture.Graphic()->Empty());
    EXPECT_EQ(ErrorOf([&] { DrawOnBitmap(*picture.Graphic()); }), "JPEG error #42");
    // Still no picture: the next draw fails the same way.
    EXPECT_THROW(DrawOnBitmap(*picture.Graphic()), EJPEG);
    DeleteFileA(path.c_str());
}

TEST(JpegImageDecoding, FileNotStartingWithStartOfImageFailsWith53) {
    std::string path = JpegTempPath("not-really.jpg");
    TBitmap bitmap;
    bitmap.SetSize(8, 8);
    bitmap.SaveToFile(path);
    TPicture picture;
    picture.LoadFromFile(JpegFixturePath("photo.jpg"));
    EXPECT_EQ(ErrorOf([&] { picture.LoadFromFile(path); }), "JPEG error #53");
    // The picture keeps what it showed.
    EXPECT_EQ(picture.Width(), 48);
    DeleteFileA(path.c_str());
}

TEST(JpegImageFiles, LoadedFileSavedUnchangedIsByteIdentical) {
    for (const char* name : {"photo.jpg", "grey.jpg", "progressive.jpg"}) {
        std::vector<uint8_t> original = ReadFileBytes(JpegFixturePath(name));
        TJPEGImage jpeg;
        jpeg.LoadFromFile(JpegFixturePath(name));
        DrawOnBitmap(jpeg);  // decoding does not touch the bytes
        std::string path = JpegTempPath(std::string("copy-") + name);
        jpeg.SaveToFile(path);
        EXPECT_EQ(ReadFileBytes(path), original) << name;
        DeleteFileA(path.c_str());
    }
}

TEST(JpegImageFiles, FailedSaveKeepsTheOldFile) {
    std::string path = JpegTempPath("kept.jpg");
    WriteBytesTo(path, {1, 2, 3, 4});
    TBitmap bitmap;
    FillBitmap(bitmap, Photo());
    for (bool cancel : {false, true}) {
        TJPEGImage jpeg;
        jpeg.Assign(&bitmap);
        jpeg.OnProgress = [cancel](TGraphic*, TProgressStage stage, uint8_t, bool, const RECT&, const std::string&) {
            if (stage != psStarting) return;
            if (cancel) throw EAbort("");
            throw EWriteError("Stream write error");
        };
        EXPECT_THROW(jpeg.SaveToFile(path), Exception);
        EXPECT_EQ(ReadFileBytes(path), (std::vector<uint8_t>{1, 2, 3, 4}));
    }
    DeleteFileA(path.c_str());
}

TEST(JpegImageCopies, CopiesShareTheDataAndTheDecodedPicture) {
    auto source = LoadedJpeg(ReadFileBytes(JpegFixturePath("photo.jpg")));
    TJPEGImage plain;
    plain.Assign(source.get());
    EXPECT_TRUE(plain.SharesDataWith(*source));
    EXPECT_EQ(plain.DecodedBitmap(), nullptr);

    source->Bitmap();
    TJPEGImage withPicture;
    withPicture.Assign(source.get());
    ASSERT_NE(withPicture.DecodedBitmap(), nullptr);
    EXPECT_TRUE(withPicture.DecodedBitmap()->SharesImageWith(*source->DecodedBitmap()));

    // A new load replaces one object's data; the other keeps the old.
    TMemoryStream other(ReadFileBytes(JpegFixturePath("grey.jpg")));
    source->LoadFromStream(other);
    EXPECT_FALSE(plain.SharesDataWith(*source));
    EXPECT_FALSE(plain.Data().IsGray);
    EXPECT_EQ(plain.Data().CompressedBytes->Bytes(), ReadFileBytes(JpegFixturePath("photo.jpg")));
}

TEST(JpegImageCopies, CompressingACopyLeavesTheOriginalsBytesAlone) {
    TBitmap bitmap;
    FillBitmap(bitmap, Photo());
    TJPEGImage first;
    first.Assign(&bitmap);
    TJPEGImage second;
    second.Assign(&first);
    second.SetQualityLevel(10);
    second.Compress();
    EXPECT_FALSE(first.SharesDataWith(second));
    EXPECT_EQ(first.Data().CompressedBytes, nullptr);
}

TEST(JpegImageCopies, OtherClassesCannotBeCopied) {
    TIcon icon;
    TJPEGImage jpeg;
    EXPECT_EQ(ErrorOf([&] { jpeg.Assign(&icon); }), "Cannot assign a TIcon to a TJPEGImage");
    EXPECT_EQ(ErrorOf([&] { icon.Assign(&jpeg); }), "Cannot assign a TJPEGImage to a TIcon");
}

TEST(JpegImageCopies, FormStreamingKeepsTheFile) {
    auto source = LoadedJpeg(ReadFileBytes(JpegFixturePath("photo.jpg")));
    TMemoryStream stored;
    source->WriteData(stored);
    EXPECT_EQ(stored.Size(), 4 + 1021);
    stored.SetPosition(0);
    TJPEGImage restored;
    restored.ReadData(stored);
    EXPECT_TRUE(restored.Equals(source.get()));
    EXPECT_EQ(restored.Width(), 48);

    TMemoryStream lying(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xD8});
    EXPECT_THROW(restored.ReadData(lying), EReadError);
}

TEST(JpegImageProgress, DecodeAndEncodeReportStartAndEnd) {
    auto jpeg = LoadedJpeg(ReadFileBytes(JpegFixturePath("photo.jpg")));
    std::vector<std::pair<TProgressStage, int>> reports;
    jpeg->OnProgress = [&](TGraphic* sender, TProgressStage stage, uint8_t percent, bool, const RECT&,
                           const std::string&) {
        EXPECT_EQ(sender, jpeg.get());
        reports.emplace_back(stage, percent);
    };
    DrawOnBitmap(*jpeg);
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.front().first, psStarting);
    EXPECT_EQ(reports.back(), std::make_pair(psEnding, 100));

    reports.clear();
    jpeg->Compress();
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.front().first, psStarting);
    EXPECT_EQ(reports.back(), std::make_pair(psEnding, 100));
}

TEST(JpegImageProgress, AbortedEncodeLeavesNoBytes) {
    TBitmap bitmap;
    FillBitmap(bitmap, Photo());
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    jpeg.OnProgress = [](TGraphic*, TProgressStage stage, uint8_t, bool, const RECT&, const std::string&) {
        if (stage == psStarting) throw EAbort("");
    };
    EXPECT_NO_THROW(jpeg.Compress());
    EXPECT_EQ(jpeg.Data().CompressedBytes, nullptr);
    EXPECT_NE(jpeg.DecodedBitmap(), nullptr);
}

}  // namespace
