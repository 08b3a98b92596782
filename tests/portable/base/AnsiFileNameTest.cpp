#include <gtest/gtest.h>

#include <string>

#include "base/AnsiFileName.h"

namespace {

// "表" is B1 ED; 0x81 0x5C and 0x95 0x5C are characters whose trail byte is a backslash,
// 0x81 0x61 one whose trail byte is a lower-case "a", 0x81 0x41 one whose trail byte is "A".
struct NameRow {
    std::string path, folder, fileName, extension;
};

const NameRow kNames[] = {
    {"C:\\\xB1\xED\x81\x5C\\Tervane.exe", "C:\\\xB1\xED\x81\x5C\\", "Tervane.exe", ".exe"},
    {"C:\\a\x81\x5C" "b.exe", "C:\\", "a\x81\x5C" "b.exe", ".exe"},
    {"C:\\a.b\x81\x5Cx", "C:\\", "a.b\x81\x5Cx", ".b\x81\x5Cx"},
    {"C:\\a.b\\\x95\x5C.ico", "C:\\a.b\\", "\x95\x5C.ico", ".ico"},
    {"x.\x95\x5C", "", "x.\x95\x5C", ".\x95\x5C"},
    {"p.\x81\x61g", "", "p.\x81\x61g", ".\x81\x61g"},
    {"p.g\x81", "", "p.g\x81", ".g\x81"},  // a lead byte at the very end stands alone
    {"D:\\a.b/c", "D:\\a.b/", "c", ""},
    {"D:x.gif", "D:", "x.gif", ".gif"},
};

TEST(AnsiFileNameTest, PartsStepOverDoubleByteCharacters) {
    for (const NameRow& row : kNames) {
        EXPECT_EQ(FolderPart(row.path), row.folder) << row.path;
        EXPECT_EQ(FileNamePart(row.path), row.fileName) << row.path;
        EXPECT_EQ(ExtensionPart(row.path), row.extension) << row.path;
    }
}

struct CaseRow {
    std::string text, upper, lower;
};

const CaseRow kCases[] = {
    {".b\x81\x5Cx", ".B\x81\x5CX", ".b\x81\x5Cx"},
    {".\x81\x61g", ".\x81\x61G", ".\x81\x61g"},
    {"\x81\x41X", "\x81\x41X", "\x81\x41x"},
    {".g\x81", ".G\x81", ".g\x81"},
};

TEST(AnsiFileNameTest, CaseChangesOnlyAsciiLetters) {
    for (const CaseRow& row : kCases) {
        EXPECT_EQ(UpperCaseAscii(row.text), row.upper) << row.text;
        EXPECT_EQ(LowerCaseAscii(row.text), row.lower) << row.text;
    }
}

}  // namespace
