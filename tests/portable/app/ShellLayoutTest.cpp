#include <gtest/gtest.h>

#include "app/DroppedFilePage.h"
#include "app/HelpFilePath.h"
#include "app/IconHintLayout.h"

TEST(HelpFilePathTest, FolderOfTheProgramPlusReadme) {
    EXPECT_EQ(HelpFilePath("C:\\Program Files\\Tervane\\Tervane.exe"), "C:\\Program Files\\Tervane\\readme.txt");
    EXPECT_EQ(HelpFilePath("D:Tervane.exe"), "D:readme.txt");
    EXPECT_EQ(HelpFilePath("Tervane.exe"), "readme.txt");
}

TEST(HelpFilePathTest, ATruncatedPathNamesAFileInTheCutFolder) {
    // The module-name buffer holds 199 characters and a zero: the tail of a longer path is lost.
    std::string longFolder = "C:\\" + std::string(195, 'x') + "\\sub\\Tervane.exe";
    std::string cut = longFolder.substr(0, 199);
    EXPECT_EQ(HelpFilePath(cut), "C:\\" + std::string(195, 'x') + "\\readme.txt");
}

TEST(IconHintBoxTest, WidthFromBytesAndHeightFromTheIcon) {
    THintBox measured{0, 0, 57, 14};
    THintBox preview = IconHintBox(measured, 32, 32, 8);  // "图标预览"
    EXPECT_EQ(preview.right - preview.left, 72);
    EXPECT_EQ(preview.bottom - preview.top, 64);  // the toolkit adds 4 when it shows the box
    EXPECT_EQ(IconHintBox(measured, 32, 32, 12).right, 92);  // "点击放大图片"
    EXPECT_EQ(IconHintBox(measured, 48, 48, 2).right, 58);
    EXPECT_EQ(IconHintBox(measured, 48, 48, 2).bottom, 96);
}

TEST(DroppedFilePageTest, IconSourcesPicturesAndTheRestByExtensionInAnyCase) {
    const struct {
        const char* name;
        TDroppedFilePage page;
    } cases[] = {
        {"C:\\a\\Tool.EXE", TDroppedFilePage::Icons},      {"b.dll", TDroppedFilePage::Icons},
        {"c.Icl", TDroppedFilePage::Icons},                 {"d.ico", TDroppedFilePage::Icons},
        {"e.bmp", TDroppedFilePage::Conversion},            {"f.JPG", TDroppedFilePage::Conversion},
        {"g.jpeg", TDroppedFilePage::Conversion},           {"h.Gif", TDroppedFilePage::Conversion},
        {"i.Png", TDroppedFilePage::Conversion},            {"j.tif", TDroppedFilePage::None},
        {"k.webp", TDroppedFilePage::None},                 {"notes.txt", TDroppedFilePage::None},
        {"C:\\pictures.gif\\readme", TDroppedFilePage::None},
        {"C:\\folder", TDroppedFilePage::None},             {"x.gif.zip", TDroppedFilePage::None},
        {"\xcd\xbc\xc6\xac.gif", TDroppedFilePage::Conversion},  // "图片.gif"
    };
    for (const auto& c : cases) EXPECT_EQ(DroppedFilePage(c.name), c.page) << c.name;
}
