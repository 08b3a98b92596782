#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "skin/stored/SkinColour.h"
#include "skin/stored/SkinReader.h"
#include "tools/skinpack/LzhufEncoder.h"
#include "tools/skinpack/SkinArchiveWriter.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> SampleSkin() {
    return WrapStoredSkin(BuildSkinArchive({{"Top.bmp", Bytes("BMtop")},
                                            {"Skin.INI", Bytes("[Personality]\r\nTop=top.bmp\r\n")},
                                            {"empty.bmp", {}},
                                            {"Sub.ini", Bytes("second")}}));
}

std::string Text(TMemoryStream& stream) {
    EXPECT_EQ(stream.Position(), 0);
    return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

// A stored skin made from a hand-written archive.
std::vector<uint8_t> Store(const std::vector<uint8_t>& archive) {
    std::vector<uint8_t> stored;
    PutU32LE(stored, static_cast<uint32_t>(archive.size()));
    std::vector<uint8_t> packed = LzhufCompress(archive);
    stored.insert(stored.end(), packed.begin(), packed.end());
    return stored;
}

std::vector<uint8_t> Archive(int32_t mark, const std::string& names, const std::vector<int32_t>& sizes,
                             const std::string& data) {
    std::vector<uint8_t> archive;
    PutU32LE(archive, static_cast<uint32_t>(mark));
    PutU32LE(archive, static_cast<uint32_t>(names.size()));
    PutU32LE(archive, 0);
    PutU32LE(archive, 0);
    PutBytes(archive, names.data(), names.size());
    for (int32_t size : sizes) PutU32LE(archive, static_cast<uint32_t>(size));
    PutBytes(archive, data.data(), data.size());
    return archive;
}

TEST(SkinReader, WrittenArchiveReadsBack) {
    std::vector<uint8_t> stored = SampleSkin();
    ByteReader sizeWord(stored.data(), stored.size());
    std::vector<uint8_t> archive = BuildSkinArchive({{"a", Bytes("x")}});
    EXPECT_EQ(archive.size(), 16u + 3u + 4u + 1u);
    EXPECT_EQ(std::string(archive.begin() + 16, archive.begin() + 19), "a\r\n");

    TSkinReader reader;
    ASSERT_TRUE(reader.Open(stored));
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"top.bmp", "skin.ini", "empty.bmp", "sub.ini"}));
    TMemoryStream out;
    reader.ExtractByName("TOP.BMP", out);
    EXPECT_EQ(Text(out), "BMtop");
    reader.ExtractByName("missing.bmp", out);
    EXPECT_EQ(out.Size(), 0);
    reader.ExtractByName("empty.bmp", out);
    EXPECT_EQ(out.Size(), 0);
    EXPECT_EQ(reader.ExtractFirstContaining(".ini", out), "skin.ini");
    EXPECT_EQ(Text(out), "[Personality]\r\nTop=top.bmp\r\n");
    EXPECT_EQ(reader.ExtractFirstContaining(".gif", out), "");
    EXPECT_EQ(out.Size(), 0);
}

TEST(SkinReader, WrongFormatMarkShowsTheMessageAndFails) {
    TSkinReader reader;
    std::string shown;
    reader.OnOlderFormat = [&](const char* message) { shown = message; };
    EXPECT_FALSE(reader.Open(Store(Archive(19999, "a.ini\r\n", {1}, "x"))));
    EXPECT_EQ(shown, "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(reader.Count(), 0u);
}

TEST(SkinReader, SizeTableHolds1001Entries) {
    auto build = [](int count) {
        std::string names;
        for (int i = 0; i < count; ++i) names += "e" + std::to_string(i) + ".bmp\r\n";
        return Store(Archive(20000, names, std::vector<int32_t>(count, 1), std::string(count, 'z')));
    };
    TSkinReader reader;
    EXPECT_TRUE(reader.Open(build(1001)));
    EXPECT_EQ(reader.Count(), 1001u);
    EXPECT_FALSE(reader.Open(build(1002)));
}

TEST(SkinReader, DamagedArchivesAreRefused) {
    TSkinReader reader;
    std::string shown;
    reader.OnOlderFormat = [&](const char* message) { shown = message; };
    // Entry sizes that run past the data, negative sizes, a name list past the end.
    EXPECT_FALSE(reader.Open(Store(Archive(20000, "a.ini\r\n", {5}, "abc"))));
    EXPECT_FALSE(reader.Open(Store(Archive(20000, "a.ini\r\nb\r\n", {-1, 1}, "abc"))));
    std::vector<uint8_t> longList = Archive(20000, "a.ini\r\n", {1}, "x");
    longList[4] = 200;
    EXPECT_FALSE(reader.Open(Store(longList)));
    // Size words that are negative, too small for the header, or absurdly large.
    for (uint32_t size : {0xFFFFFFFFu, 8u, 0x7FFFFFFFu}) {
        std::vector<uint8_t> stored = SampleSkin();
        stored[0] = static_cast<uint8_t>(size);
        stored[1] = static_cast<uint8_t>(size >> 8);
        stored[2] = static_cast<uint8_t>(size >> 16);
        stored[3] = static_cast<uint8_t>(size >> 24);
        EXPECT_FALSE(reader.Open(stored)) << size;
    }
    EXPECT_FALSE(reader.Open(std::vector<uint8_t>{1, 0}));
    EXPECT_TRUE(shown.empty());
}

TEST(SkinReader, NamesSplitLikeTextLinesAndKeepDoubleByteCharacters) {
    // "蓝" in code page 936 is C0 B6; "橙" is B3 C8; "羁" is EF 41 (its second byte is 'A').
    std::string names = "\xEF\x41.BMP\r\nB.bmp\nC.ini";
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(Store(Archive(20000, names, {1, 1, 1}, "123"))));
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"\xEF\x41.bmp", "b.bmp", "c.ini"}));
    TMemoryStream out;
    reader.ExtractByName("\xEF\x41.Bmp", out);
    EXPECT_EQ(Text(out), "1");
    EXPECT_EQ(SkinLowerCase("AB\xC0\xB6Z"), "ab\xC0\xB6z");
}

TEST(SkinReader, TruncatedCompressedDataStillOpensWhenTheIndexSurvives) {
    std::vector<TSkinArchiveEntry> entries{{"skin.ini", Bytes("[x]")}, {"big.bmp", std::vector<uint8_t>(20000, 7)}};
    std::vector<uint8_t> stored = WrapStoredSkin(BuildSkinArchive(entries));
    stored.resize(stored.size() - 40);
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(stored));
    TMemoryStream out;
    reader.ExtractByName("big.bmp", out);
    EXPECT_EQ(out.Size(), 20000);
    EXPECT_EQ(out.Bytes()[0], 7);
}

TEST(ParseSkinColour, ReadsTheThreeComponents) {
    EXPECT_EQ(ParseSkinColour("59 97 131", 5), SkinRGB(59, 97, 131));
    EXPECT_EQ(ParseSkinColour("59,97,131", 5), SkinRGB(59, 97, 131));
    EXPECT_EQ(ParseSkinColour("  59, 97, 131 \t", 5), SkinRGB(59, 0, 97));
    EXPECT_EQ(ParseSkinColour("59  97 131", 5), SkinRGB(59, 0, 97));
    EXPECT_EQ(ParseSkinColour("", 5), 5);
    EXPECT_EQ(ParseSkinColour("   ", 5), SkinRGB(0, 0, 0));
    EXPECT_EQ(ParseSkinColour("59 97", 5), SkinRGB(59, 0, 0));
    EXPECT_EQ(ParseSkinColour("1 2 3 4 5", 5), SkinRGB(1, 2, 3));
    EXPECT_EQ(ParseSkinColour("256 513 300", 5), SkinRGB(0, 1, 44));
    EXPECT_EQ(ParseSkinColour("99999999999999 0 255", 5), SkinRGB(99999999999999ull % 256, 0, 255));
    EXPECT_EQ(ParseSkinColour("x1y2z", 5), SkinRGB(0, 1, 2));
}

}  // namespace

namespace {

TEST(SkinReader, RandomArchivesReadBackEntryByEntry) {
    std::mt19937 rng(21);
    for (int round = 0; round < 12; ++round) {
        std::vector<TSkinArchiveEntry> entries;
        int count = 1 + static_cast<int>(rng() % 45);
        for (int i = 0; i < count; ++i) {
            std::vector<uint8_t> data(rng() % 3000);
            for (auto& b : data) b = static_cast<uint8_t>(rng() % (round % 3 == 0 ? 4 : 256));
            entries.push_back({"Entry" + std::to_string(i) + (i == count - 1 ? ".ini" : ".bmp"), data});
        }
        TSkinReader reader;
        ASSERT_TRUE(reader.Open(WrapStoredSkin(BuildSkinArchive(entries))));
        ASSERT_EQ(reader.Count(), entries.size());
        TMemoryStream out;
        for (const TSkinArchiveEntry& entry : entries) {
            reader.ExtractByName(entry.name, out);
            EXPECT_EQ(out.Bytes(), entry.data) << entry.name;
        }
        EXPECT_EQ(reader.ExtractFirstContaining(".ini", out), SkinLowerCase(entries.back().name));
    }
}

}  // namespace
