#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/ByteReader.h"
#include "base/CheckedMath.h"
#include "base/FileStream.h"
#include "base/Streams.h"

namespace {

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class SafeSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("tervane-safe-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    size_t FilesInFolder() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder_),
                                                 std::filesystem::directory_iterator()));
    }
    std::filesystem::path folder_;
};

}  // namespace

TEST(MemoryStreamTest, ReadWriteSeekAndShortReads) {
    TMemoryStream stream;
    stream.WriteBuffer("abcdef", 6);
    EXPECT_EQ(stream.Size(), 6);
    stream.SetPosition(4);
    char two[2];
    stream.ReadBuffer(two, 2);
    EXPECT_EQ(std::string(two, 2), "ef");
    EXPECT_THROW(stream.ReadBuffer(two, 1), EReadError);
    stream.SetPosition(2);
    stream.WriteBuffer("XYZW", 4);  // overwrites and grows
    EXPECT_EQ(std::string(stream.Bytes().begin(), stream.Bytes().end()), "abXYZW");
    stream.SetPosition(3);
    EXPECT_EQ(stream.ReadRemaining().size(), 3u);
}

TEST(ByteReaderTest, RefusesReadsPastTheEnd) {
    const uint8_t bytes[] = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xff};
    ByteReader reader(bytes, sizeof bytes);
    EXPECT_EQ(reader.ReadU16LE(), 0x1234);
    EXPECT_EQ(reader.ReadU32LE(), 0x12345678u);
    EXPECT_THROW(reader.ReadU16LE<EInvalidGraphic>("bad"), EInvalidGraphic);
    EXPECT_EQ(reader.Remaining(), 1u);  // a failed read consumes nothing
    EXPECT_FALSE(reader.SeekTo(8));
    EXPECT_TRUE(reader.SeekTo(7));
    EXPECT_TRUE(reader.AtEnd());
}

TEST(CheckedMathTest, OverflowIsCaught) {
    EXPECT_FALSE(CheckedMul<uint32_t>(0x10000, 0x10000).has_value());
    EXPECT_EQ(*CheckedAdd<uint32_t>(1, 2), 3u);
    EXPECT_EQ(*AlignedRowBytes(1, 1), 4u);
    EXPECT_EQ(*AlignedRowBytes(33, 1), 8u);
    EXPECT_EQ(*AlignedRowBytes(3, 24), 12u);
    EXPECT_FALSE(AlignedRowBytes(0xFFFFFFFFu, 32).has_value());
}

TEST_F(SafeSaveTest, ReplacesTheTargetOnlyWhenTheWriteSucceeds) {
    auto target = (folder_ / "picture.bmp").string();
    std::ofstream(target, std::ios::binary) << "old contents";

    EXPECT_THROW(SaveFileSafely(target,
                                [](TStream& out) {
                                    out.WriteBuffer("partial", 7);
                                    throw EWriteError(ErrorText::StreamWrite);
                                }),
                 EWriteError);
    EXPECT_EQ(ReadWhole(target), "old contents");
    EXPECT_EQ(FilesInFolder(), 1u) << "the temporary file must be removed";

    SaveFileSafely(target, [](TStream& out) { out.WriteBuffer("new", 3); });
    EXPECT_EQ(ReadWhole(target), "new");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(SafeSaveTest, MissingFolderReportsTheTargetName) {
    auto target = (folder_ / "no-such-folder" / "x.ico").string();
    try {
        SaveFileSafely(target, [](TStream& out) { out.WriteBuffer("x", 1); });
        FAIL() << "expected EFCreateError";
    } catch (const EFCreateError& error) {
        EXPECT_NE(error.Message().find("Cannot create file \"" + target + "\". "), std::string::npos)
            << error.Message();
    }
}

TEST(FileStreamTest, OpenErrorNamesTheFullPath) {
    try {
        TFileStream stream("definitely-missing-file.bin", TFileMode::OpenRead);
        FAIL() << "expected EFOpenError";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.Message().rfind("Cannot open file \"/", 0), 0u) << error.Message();
        EXPECT_NE(error.Message().find("definitely-missing-file.bin\". "), std::string::npos);
    }
}
