#include <windows.h>

#include <gtest/gtest.h>

#include "base/FileStream.h"

namespace {

std::string TempFolder() {
    char path[MAX_PATH];
    GetTempPathA(sizeof path, path);
    return path;
}

}  // namespace

TEST(FileStreamWinTest, CodePage936NamesRoundTrip) {
    ASSERT_EQ(GetACP(), 936u) << "tests must run with LC_ALL=zh_CN.UTF-8";
    std::string name = TempFolder() + "图片测试.bin";
    SaveFileSafely(name, [](TStream& out) { out.WriteBuffer("\x01\x02\x03", 3); });
    {
        TFileStream in(name, TFileMode::OpenRead);
        EXPECT_EQ(in.Size(), 3);
        // Loads shut out other writers but not other readers.
        EXPECT_EQ(CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
        HANDLE reader = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(reader, INVALID_HANDLE_VALUE);
        CloseHandle(reader);
    }
    EXPECT_TRUE(DeleteFileIfExists(name));
}

TEST(FileStreamWinTest, OpenErrorCarriesTheSystemText) {
    try {
        TFileStream in("C:\\no\\such\\folder\\a.bmp", TFileMode::OpenRead);
        FAIL();
    } catch (const EFOpenError& error) {
        std::string prefix = "Cannot open file \"C:\\no\\such\\folder\\a.bmp\". ";
        ASSERT_EQ(error.Message().compare(0, prefix.size(), prefix), 0) << error.Message();
        EXPECT_GT(error.Message().size(), prefix.size()) << "the system's error text is missing";
        EXPECT_NE(error.Message().back(), '\n');
    }
}

TEST(FileStreamWinTest, FailedSaveKeepsTheOldFile) {
    std::string name = TempFolder() + "keep-me.ico";
    SaveFileSafely(name, [](TStream& out) { out.WriteBuffer("old", 3); });
    EXPECT_THROW(SaveFileSafely(name, [](TStream&) { throw EWriteError(ErrorText::StreamWrite); }), EWriteError);
    TFileStream in(name, TFileMode::OpenRead);
    char bytes[3];
    in.ReadBuffer(bytes, 3);
    EXPECT_EQ(std::string(bytes, 3), "old");
    in.Close();
    DeleteFileIfExists(name);
}
