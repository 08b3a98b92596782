#include <gtest/gtest.h>

#include "base/ByteReader.h"
#include "base/Exceptions.h"
#include "picture/graphic/FileFormatsList.h"
#include "picture/graphic/StretchModeRule.h"
#include "picture/metafile/MetafileFormat.h"

namespace {

const TGraphicClassInfo kBase = {"TBase", nullptr, nullptr};
const TGraphicClassInfo kChild = {"TChild", &kBase, nullptr};
const TGraphicClassInfo kOther = {"TOther", nullptr, nullptr};

}  // namespace

TEST(PictureExtensionTest, LastDotOfTheLastComponent) {
    EXPECT_EQ(PictureFileExtension("archive.tar.gif"), "gif");
    EXPECT_EQ(PictureFileExtension("C:\\photos\\photo.JPG"), "JPG");
    EXPECT_EQ(PictureFileExtension("C:\\photos.d\\noext"), "");
    EXPECT_EQ(PictureFileExtension("C:noext"), "");
    EXPECT_EQ(PictureFileExtension("D:a.b:c"), "");
    EXPECT_EQ(PictureFileExtension("name."), "");
    EXPECT_EQ(PictureFileExtension(".bmp"), "bmp");
}

TEST(PictureExtensionTest, LowerCaseAscii) { EXPECT_EQ(LowerCaseAscii("JPeG"), "jpeg"); }

TEST(FileFormatsListTest, SearchesFromTheEndInAnyCase) {
    TFileFormatsList list;
    list.Add("GIF", "GIF Image", 0, &kBase);
    list.Add("gif", "Other GIF", 0, &kOther);
    EXPECT_EQ(list.Entries()[0].extension, "gif");
    EXPECT_EQ(list.FindExt("GiF"), &kOther);
    EXPECT_EQ(list.FindExt("png"), nullptr);
    EXPECT_EQ(list.FindExt(""), nullptr);
    EXPECT_EQ(list.FindClassName("TBase"), &kBase);
}

TEST(FileFormatsListTest, RemovalTakesDerivedClassesToo) {
    TFileFormatsList list;
    list.Add("a", "", 0, &kBase);
    list.Add("b", "", 0, &kOther);
    list.Add("c", "", 0, &kChild);
    list.Remove(&kBase);
    ASSERT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(list.Entries()[0].extension, "b");
    EXPECT_TRUE(kChild.InheritsFrom(&kBase));
    EXPECT_FALSE(kBase.InheritsFrom(&kChild));
}

TEST(StretchModeRuleTest, HalftoneOnlyForPoorerLowDepthTargets) {
    EXPECT_EQ(ChooseStretchMode(8, 24, false), TStretchMode::Halftone);
    EXPECT_EQ(ChooseStretchMode(4, 8, false), TStretchMode::Halftone);
    EXPECT_EQ(ChooseStretchMode(8, 8, false), TStretchMode::ColorOnColor);
    EXPECT_EQ(ChooseStretchMode(16, 24, false), TStretchMode::ColorOnColor);
    EXPECT_EQ(ChooseStretchMode(32, 32, false), TStretchMode::ColorOnColor);
    EXPECT_EQ(ChooseStretchMode(32, 1, true), TStretchMode::Keep);
}

namespace {

std::vector<uint8_t> MinimalEmf() {
    std::vector<uint8_t> emf;
    PutU32LE(emf, 1);   // header record
    PutU32LE(emf, 88);
    for (int i = 0; i < 4; ++i) PutU32LE(emf, 0);  // bounds
    PutU32LE(emf, 0);
    PutU32LE(emf, 0);
    PutU32LE(emf, 2540);  // 1 inch wide
    PutU32LE(emf, 1270);
    PutU32LE(emf, 0x464D4520);
    while (emf.size() < 88) PutU8(emf, 0);
    PutU32LE(emf, 14);  // end-of-file record
    PutU32LE(emf, 20);
    for (int i = 0; i < 3; ++i) PutU32LE(emf, 0);
    return emf;
}

std::vector<uint8_t> PlaceableWmf() {
    std::vector<uint8_t> wmf;
    PutU32LE(wmf, 0x9AC6CDD7);
    PutU16LE(wmf, 0);
    for (uint16_t v : {0, 0, 1440, 720, 1440}) PutU16LE(wmf, v);
    PutU32LE(wmf, 0);
    PutU16LE(wmf, 0);
    PutU16LE(wmf, 1);  // header
    PutU16LE(wmf, 9);
    PutU16LE(wmf, 0x300);
    PutU32LE(wmf, 12);
    PutU16LE(wmf, 0);
    PutU32LE(wmf, 3);
    PutU16LE(wmf, 0);
    PutU32LE(wmf, 3);  // end record
    PutU16LE(wmf, 0);
    return wmf;
}

std::string ErrorOf(const std::vector<uint8_t>& data) {
    try {
        ReadMetafileInfo(data.data(), data.size());
    } catch (const Exception& error) {
        return error.Message();
    }
    return "(read)";
}

}  // namespace

TEST(MetafileFormatTest, EnhancedAndPlaceableFilesAreMeasured) {
    std::vector<uint8_t> emf = MinimalEmf();
    emf.push_back(0xEE);  // trailing bytes are not part of it
    TMetafileInfo info = ReadMetafileInfo(emf.data(), emf.size());
    EXPECT_EQ(info.kind, TMetafileKind::Enhanced);
    EXPECT_EQ(info.length, 108u);
    EXPECT_EQ(info.right - info.left, 2540);
    std::vector<uint8_t> wmf = PlaceableWmf();
    info = ReadMetafileInfo(wmf.data(), wmf.size());
    EXPECT_EQ(info.kind, TMetafileKind::Placeable);
    EXPECT_EQ(info.offset, 22u);
    EXPECT_EQ(info.length, 24u);
    EXPECT_EQ(info.unitsPerInch, 1440);
    std::vector<uint8_t> plain(wmf.begin() + 22, wmf.end());
    EXPECT_EQ(ReadMetafileInfo(plain.data(), plain.size()).kind, TMetafileKind::Plain);
}

TEST(MetafileFormatTest, RecordsThatLeaveTheDataAreRefused) {
    const std::string invalid = "Metafile is not valid";
    EXPECT_EQ(ErrorOf({}), invalid);
    std::vector<uint8_t> emf = MinimalEmf();
    emf.resize(emf.size() - 4);  // end record cut
    EXPECT_EQ(ErrorOf(emf), invalid);
    emf = MinimalEmf();
    emf[92] = 3;  // end record size 3: not a multiple of 4
    EXPECT_EQ(ErrorOf(emf), invalid);
    emf = MinimalEmf();
    emf[40] = 'X';  // signature
    EXPECT_EQ(ErrorOf(emf), invalid);
    std::vector<uint8_t> wmf = PlaceableWmf();
    wmf[40] = 0xFF;  // end record claims 255 words
    EXPECT_EQ(ErrorOf(wmf), invalid);
    wmf = PlaceableWmf();
    wmf[14] = 0;  // zero units per inch
    wmf[15] = 0;
    EXPECT_EQ(ErrorOf(wmf), invalid);
    EXPECT_EQ(ErrorOf({0xD7, 0xCD, 0xC6, 0x9A, 0, 0}), invalid) << "preamble cut short";
}
