// The one crossing between the program's code page 936 texts and UTF-16: texts the code page
// holds come back the same both ways, whatever the system's code page; what it cannot hold
// is marked as such.
#include <gtest/gtest.h>

#include <string>

#include "toolkit/GraphicsObjects_win.h"
#include "toolkit/WideText_win.h"

namespace {

std::string LongMixedText() {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += i % 3 ? "图" : "a";
    return text;
}

TEST(WideTextTest, TextsOfTheCodePageComeBackTheSameBothWays) {
    struct Case {
        const char* name;
        std::string ansi;
        std::wstring wide;
    } cases[] = {
        {"empty", "", L""},
        {"ASCII", "Tervane 1.0", L"Tervane 1.0"},
        {"Chinese", "\xCD\xBC\xC6\xAC", L"\x56FE\x7247"},  // 图片
        {"Greek, in the code page", "\xA6\xA5\xA6\xCB", L"\x0395\x03BB"},
        {"full-width comma and euro sign", "\xA3\xAC\x80", L"\xFF0C\x20AC"},
        {"long", LongMixedText(), std::wstring()},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring wide = WideFromAnsi(c.ansi);
        if (!c.wide.empty() || c.ansi.empty()) EXPECT_EQ(wide, c.wide);
        EXPECT_EQ(AnsiFromWide(wide), c.ansi);
        EXPECT_TRUE(AnsiCanHold(wide));
        EXPECT_EQ(AnsiFromWide(wide.c_str()), c.ansi);
        EXPECT_EQ(WideFromAnsi(c.ansi.c_str()), wide);
    }
    EXPECT_EQ(WideFromAnsi(LongMixedText()).size(), 20000u);
    EXPECT_EQ(AnsiFromWide(static_cast<const wchar_t*>(nullptr)), "");
    EXPECT_EQ(WideFromAnsi(static_cast<const char*>(nullptr)), L"");
}

TEST(WideTextTest, CharactersTheCodePageCannotHoldAreMarked) {
    struct Case {
        const char* name;
        std::wstring wide;
        std::string ansi;
    } cases[] = {
        {"Korean", L"\xAE40\xBBFC\xC218", "???"},                  // 김민수
        {"German umlaut beside Chinese", L"\x00F6\x56FE", "?\xCD\xBC"},  // ö图
        {"emoji, a surrogate pair", L"a\xD83D\xDE00" L"b", "a??b"},  // one mark for each half
        {"lone surrogate", L"\xD800", "?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AnsiFromWide(c.wide), c.ansi);
        EXPECT_FALSE(AnsiCanHold(c.wide));
    }
    // A character beyond the basic plane that the code page holds does not exist: GB18030's
    // four-byte forms are another code page.
    EXPECT_FALSE(AnsiCanHold(std::wstring(L"\xD840\xDC00")));  // U+20000
}

// A font named by the system in its own language (the menu font of a Korean Windows) is made
// with that name whole.
TEST(WideTextTest, AFontKeepsTheSystemsFaceName) {
    for (const wchar_t* face : {L"\xAD74\xB9BC", L"Tahoma", L"\x5B8B\x4F53"}) {  // 굴림, 宋体
        TFont font;
        font.SetFaceName(face);
        LOGFONTW made{};
        ASSERT_TRUE(GetObjectW(font.Handle(), sizeof made, &made));
        EXPECT_STREQ(made.lfFaceName, face);
        EXPECT_EQ(font.Name(), AnsiFromWide(face));
    }
}

}  // namespace
