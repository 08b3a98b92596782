#include <gtest/gtest.h>

#include <string>

#include "convert/ConversionMatrix.h"

namespace {

TEST(UpperCaseExtension, TakesTheLastDotOfTheLastComponent) {
    EXPECT_EQ(UpperCaseExtension("C:\\pics\\a.Ico"), ".ICO");
    EXPECT_EQ(UpperCaseExtension("C:\\pics\\a.b.jpeg"), ".JPEG");
    EXPECT_EQ(UpperCaseExtension("C:\\dir.gif\\noext"), "");
    EXPECT_EQ(UpperCaseExtension("noext"), "");
    EXPECT_EQ(UpperCaseExtension("trailing."), ".");
    EXPECT_EQ(UpperCaseExtension("d:x.bmp"), ".BMP");
}

TEST(PictureKinds, SourcesAcceptJpegSpellingTargetsDoNot) {
    EXPECT_EQ(SourceKindOf("x.ICO"), TPictureKind::Icon);
    EXPECT_EQ(SourceKindOf("x.bmp"), TPictureKind::Bitmap);
    EXPECT_EQ(SourceKindOf("x.jpg"), TPictureKind::Jpeg);
    EXPECT_EQ(SourceKindOf("x.JpEg"), TPictureKind::Jpeg);
    EXPECT_EQ(SourceKindOf("x.gif"), TPictureKind::Gif);
    EXPECT_EQ(SourceKindOf("x.Png"), TPictureKind::Png);
    EXPECT_EQ(SourceKindOf("x.tif"), TPictureKind::None);
    EXPECT_EQ(TargetKindOf("x.bmp"), TPictureKind::Bitmap);
    EXPECT_EQ(TargetKindOf("x.Ico"), TPictureKind::Icon);
    EXPECT_EQ(TargetKindOf("x.JPG"), TPictureKind::Jpeg);
    EXPECT_EQ(TargetKindOf("x.gif"), TPictureKind::Gif);
    EXPECT_EQ(TargetKindOf("x.PNG"), TPictureKind::Png);
    EXPECT_EQ(TargetKindOf("x.jpeg"), TPictureKind::None);
    EXPECT_EQ(TargetKindOf("x"), TPictureKind::None);
}

TEST(ConversionTable, EveryPairButTheSourcesOwnFormat) {
    const TPictureKind kinds[] = {TPictureKind::None, TPictureKind::Icon, TPictureKind::Bitmap, TPictureKind::Jpeg,
                                  TPictureKind::Gif, TPictureKind::Png};
    int allowed = 0;
    for (TPictureKind s : kinds)
        for (TPictureKind t : kinds) {
            const bool expected = s != TPictureKind::None && t != TPictureKind::None && s != t;
            EXPECT_EQ(CanConvert(s, t), expected) << static_cast<int>(s) << "->" << static_cast<int>(t);
            allowed += CanConvert(s, t);
        }
    EXPECT_EQ(allowed, 20);
}

TEST(ConversionTable, FiltersOfferExactlyTheConvertibleTargets) {
    const std::string png = "|PNG file(*.png)|*.PNG";
    EXPECT_EQ(SaveFilterFor(TPictureKind::Icon), "BMP file(*.bmp)|*.BMP|JPEG file(*.jpg)|*.JPG|GIF file(*.gif)|*.GIF" + png);
    EXPECT_EQ(SaveFilterFor(TPictureKind::Jpeg), "BMP file(*.bmp)|*.BMP|ICO file(*.ico)|*.ICO|GIF file(*.gif)|*.GIF" + png);
    EXPECT_EQ(SaveFilterFor(TPictureKind::Gif), "BMP file(*.bmp)|*.BMP|ICO file(*.ico)|*.ICO|JPEG file(*.jpg)|*.JPG" + png);
    EXPECT_EQ(SaveFilterFor(TPictureKind::Bitmap), "ICO file(*.ico)|*.ICO|JPEG file(*.jpg)|*.JPG|GIF file(*.gif)|*.GIF" + png);
    EXPECT_STREQ(SaveFilterFor(TPictureKind::Png),
                 "BMP file(*.bmp)|*.BMP|ICO file(*.ico)|*.ICO|JPEG file(*.jpg)|*.JPG|GIF file(*.gif)|*.GIF");
    EXPECT_EQ(SaveFilterFor(TPictureKind::None), nullptr);
    // Every pattern of a filter names a target the engine converts the source to.
    for (TPictureKind s :
         {TPictureKind::Icon, TPictureKind::Bitmap, TPictureKind::Jpeg, TPictureKind::Gif, TPictureKind::Png}) {
        const std::string filter = SaveFilterFor(s);
        size_t at = 0;
        for (int entry = 0; entry < 4; ++entry) {
            at = filter.find("|*", at);
            ASSERT_NE(at, std::string::npos);
            const size_t end = filter.find('|', at + 1);
            const std::string pattern = filter.substr(at + 2, end == std::string::npos ? std::string::npos : end - at - 2);
            EXPECT_TRUE(CanConvert(s, TargetKindOf("x" + pattern))) << filter << " " << pattern;
            at = end == std::string::npos ? filter.size() : end;
        }
    }
}

TEST(PageTexts, QualityHintAndStatus) {
    EXPECT_EQ(QualityHint(65), "JPEG图片的当前质量:65/100");
    EXPECT_EQ(QualityHint(0), "JPEG图片的当前质量:0/100");
    EXPECT_EQ(QualityHint(100), "JPEG图片的当前质量:100/100");
    EXPECT_EQ(SavedStatus("C:\\a.gif"), "图片已保存为C:\\a.gif");
}

}  // namespace
