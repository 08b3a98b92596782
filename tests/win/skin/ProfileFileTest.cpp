#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "skin/stored/ProfileFile_win.h"

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH + 1];
        GetTempPathA(sizeof folder, folder);
        path_ = std::string(folder) + "tervane-profile-test.ini";
    }
    void TearDown() override { DeleteFileA(path_.c_str()); }
    void Write(const std::string& text) {
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    // The temporary folder of the test run is plain ASCII.
    std::wstring WidePath() const { return std::wstring(path_.begin(), path_.end()); }
    std::string path_;
};

TEST_F(ProfileFileTest, SectionsInFileOrderAndKeysWithoutRegardToCase) {
    std::string longValue(3000, 'v');
    Write("[Zeta]\r\nKey=one\r\n[alpha]\r\nNumber= 42 \r\nBad=4x\r\nLong=" + longValue + "\r\n[Colour1]\r\n");
    TProfileFile ini(WidePath());
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Zeta", "alpha", "Colour1"}));
    EXPECT_EQ(ini.ReadString("ZETA", "key"), "one");
    EXPECT_EQ(ini.ReadString("Zeta", "Missing", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadString("Nowhere", "Key"), "");
    EXPECT_EQ(ini.ReadInteger("Alpha", "number", 7), 42);
    EXPECT_EQ(ini.ReadInteger("Alpha", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Alpha", "Missing", -1), -1);
    EXPECT_EQ(ini.ReadString("alpha", "Long"), longValue);
}

// Sections are read whole and looked up in memory: every value must still be what the
// system's own reading of that one key gives.
TEST_F(ProfileFileTest, ValuesMatchTheSystemsReadingOfEachKey) {
    Write("[Odd]\r\nQuoted=\"a b\"\r\nSingle='x'\r\nHalf=\"open\r\nLone=\"\r\nNoEquals\r\nDup=first\r\n"
          "DUP=second\r\nEmpty=\r\n  Spaced  =  v w  \r\nEq=a=b\r\n");
    TProfileFile ini(WidePath());
    for (const char* key : {"Quoted", "single", "Half", "Lone", "NoEquals", "dup", "Empty", "Spaced", "Eq", "None"}) {
        SCOPED_TRACE(key);
        char expected[256] = "";
        GetPrivateProfileStringA("odd", key, "fallback", expected, sizeof expected, path_.c_str());
        EXPECT_EQ(ini.ReadString("ODD", key, "fallback"), expected);
    }
}

TEST_F(ProfileFileTest, AManySectionFileListsThemAll) {
    std::string text;
    for (int i = 0; i < 600; ++i) text += "[Section" + std::to_string(i) + "]\r\nk=" + std::to_string(i) + "\r\n";
    Write(text);
    TProfileFile ini(WidePath());
    std::vector<std::string> names = ini.SectionNames();
    ASSERT_EQ(names.size(), 600u);
    EXPECT_EQ(names[599], "Section599");
    EXPECT_EQ(ini.ReadInteger("section599", "K", 0), 599);
}

}  // namespace
