// The toolkit's byte-level rules: shortcut values and texts, the error display's full stop,
// dialog filters, message dialog buttons and component ownership.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Component.h"
#include "base/ErrorDisplayText.h"
#include "base/FileFilter.h"
#include "base/MessageDialogButtons.h"
#include "base/ShortCut.h"

TEST(ShortCutTest, StoredValuesOfTheMenus) {
    EXPECT_EQ(ShortCut('M', ssCtrl), 16461);
    EXPECT_EQ(ShortCut('Q', ssCtrl), 16465);
    EXPECT_EQ(ShortCut('G', ssCtrl), 16455);
    EXPECT_EQ(ShortCut('C', ssCtrl), 16451);
    EXPECT_EQ(ShortCut('A', ssCtrl), 16449);
    EXPECT_EQ(ShortCut(VirtualKey::F1, 0), 112);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(ShortCut(static_cast<uint16_t>(VirtualKey::F1 + i), ssCtrl), 16496 + i);
}

TEST(ShortCutTest, ModifiersAndKeyComeBackApart) {
    TShortCut all = ShortCut('Z', ssShift | ssCtrl | ssAlt);
    EXPECT_EQ(all, 0x2000 | 0x4000 | 0x8000 | 'Z');
    EXPECT_EQ(ShortCutKey(all), 'Z');
    EXPECT_EQ(ShortCutShift(all), ssShift | ssCtrl | ssAlt);
    EXPECT_EQ(ShortCut(0x100, ssCtrl), scNone) << "a key code beyond one byte cannot be stored";
}

TEST(ShortCutTest, MenuTexts) {
    EXPECT_EQ(ShortCutToText(16465), "Ctrl+Q");
    EXPECT_EQ(ShortCutToText(112), "F1");
    EXPECT_EQ(ShortCutToText(16502), "Ctrl+F7");
    EXPECT_EQ(ShortCutToText(ShortCut('5', ssShift | ssCtrl)), "Shift+Ctrl+5");
    EXPECT_EQ(ShortCutToText(ShortCut(0x2E, ssAlt)), "Alt+Del");
    EXPECT_EQ(ShortCutToText(scNone), "");
    EXPECT_EQ(ShortCutToText(ShortCut(0xFF, ssCtrl)), "") << "keys without a name get no text";
}

TEST(ErrorDisplayTextTest, FullStopAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(ErrorDisplayText("Stream read error"), "Stream read error.");
    EXPECT_EQ(ErrorDisplayText("Cannot open file \"a.bmp\". 系统找不到指定的文件"),
              "Cannot open file \"a.bmp\". 系统找不到指定的文件.");
    EXPECT_EQ(ErrorDisplayText("0"), "0.");
}

TEST(ErrorDisplayTextTest, NoFullStopAfterPunctuationAtOrBeforeIt) {
    EXPECT_EQ(ErrorDisplayText(""), "");
    EXPECT_EQ(ErrorDisplayText("Done."), "Done.");
    EXPECT_EQ(ErrorDisplayText("Really!"), "Really!");
    EXPECT_EQ(ErrorDisplayText("a-"), "a-");
    EXPECT_EQ(ErrorDisplayText("x,"), "x,");
    // ")" sorts before ".", so this message is shown as it is.
    EXPECT_EQ(ErrorDisplayText("Unknown picture file extension (.png)"), "Unknown picture file extension (.png)");
    EXPECT_EQ(ErrorDisplayText("line\n"), "line\n");
    EXPECT_EQ(ErrorDisplayText("x/"), "x/.") << "'/' sorts after '.'";
}

TEST(FileFilterTest, BarsBecomeZeroBytesWithADoubleEnd) {
    std::string filter = "ICO file(*.ico)|*.ICO|BMP file(*.bmp)|*.BMP";
    const char raw[] = "ICO file(*.ico)\0*.ICO\0BMP file(*.bmp)\0*.BMP\0\0";
    std::string expected(raw, sizeof raw - 1);
    EXPECT_EQ(FilterToSystemForm(filter), expected);
    EXPECT_EQ(FilterEntryCount(filter), 2);
    EXPECT_EQ(FilterEntryCount("EXE file(*.exe)|*.EXE|DLL file(*.dll)|*.DLL|ICL file(*.icl)|*.ICL|ALL files(*.*)|*.*"),
              4);
}

TEST(FileFilterTest, EmptyAndUnpairedFilters) {
    EXPECT_EQ(FilterToSystemForm(""), std::string("\0\0", 2));
    EXPECT_EQ(FilterEntryCount(""), 0);
    // A description without its pattern gets an empty one, so the list stays in pairs.
    const char raw[] = "Text\0*.txt\0Other\0\0\0";
    EXPECT_EQ(FilterToSystemForm("Text|*.txt|Other"), std::string(raw, sizeof raw - 1));
}

TEST(FileFilterTest, FilterIndexStaysWithinTheEntries) {
    std::string filter = "A|*.a|B|*.b|C|*.c";
    EXPECT_EQ(ClampFilterIndex(1, filter), 1);
    EXPECT_EQ(ClampFilterIndex(3, filter), 3);
    EXPECT_EQ(ClampFilterIndex(5, filter), 3) << "an index remembered from a longer filter";
    EXPECT_EQ(ClampFilterIndex(0, filter), 1);
    EXPECT_EQ(ClampFilterIndex(-4, filter), 1);
    EXPECT_EQ(ClampFilterIndex(2, ""), 1);
}

TEST(MessageDialogButtonsTest, OverwriteQuestionButtonsInFixedOrder) {
    auto buttons = MessageButtons(MsgDlgButtons({mbYesToAll, mbNoToAll, mbNo, mbYes}));
    ASSERT_EQ(buttons.size(), 4u);
    const char* captions[] = {"是(&Y)", "否(&N)", "全否(&O)", "全是(&A)"};
    TModalResult results[] = {mrYes, mrNo, mrNoToAll, mrYesToAll};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_STREQ(buttons[i].caption, captions[i]);
        EXPECT_EQ(buttons[i].result, results[i]);
    }
    TMsgDlgButtons set = MsgDlgButtons({mbYes, mbNo, mbNoToAll, mbYesToAll});
    EXPECT_EQ(DefaultButtonIndex(set), 0) << "Yes is the default";
    EXPECT_EQ(CancelResult(set), mrNo) << "Escape answers No";
    EXPECT_STREQ(MessageTypeCaption(mtConfirmation), "确认");
}

TEST(MessageDialogButtonsTest, DefaultAndEscapeForOtherSets) {
    TMsgDlgButtons okCancel = MsgDlgButtons({mbOK, mbCancel});
    EXPECT_EQ(DefaultButtonIndex(okCancel), 0);
    EXPECT_EQ(CancelResult(okCancel), mrCancel);
    EXPECT_EQ(CancelResult(MsgDlgButtons({mbOK})), mrOk);
    EXPECT_EQ(DefaultButtonIndex(MsgDlgButtons({mbAbort, mbRetry, mbIgnore})), 0);
    EXPECT_EQ(DefaultButtonIndex(MsgDlgButtons({mbNo, mbOK})), 1) << "OK, not the first button, is the default";
    EXPECT_EQ(DefaultButtonIndex(0), -1);
    EXPECT_TRUE(MessageButtons(0).empty());
}

namespace {

class TTrackedComponent : public TComponent {
public:
    TTrackedComponent(TComponent* owner, std::vector<std::string>& log, std::string name)
        : TComponent(owner), log_(log) {
        SetName(std::move(name));
    }
    ~TTrackedComponent() override { log_.push_back(Name()); }

private:
    std::vector<std::string>& log_;
};

}  // namespace

TEST(ComponentTest, OwnerFreesWhatItOwnsLastCreatedFirst) {
    std::vector<std::string> destroyed;
    auto* form = new TTrackedComponent(nullptr, destroyed, "Form");
    auto* menu = new TTrackedComponent(form, destroyed, "MainMenu1");
    new TTrackedComponent(menu, destroyed, "F1");
    new TTrackedComponent(form, destroyed, "Edit4");
    ASSERT_EQ(form->ComponentCount(), 2);
    EXPECT_EQ(form->FindComponent("Edit4"), form->Components(1));
    EXPECT_EQ(form->FindComponent("F1"), nullptr) << "only directly owned components are searched";
    int walked = 0;
    form->ForEachComponent([&](TComponent*) { ++walked; });
    EXPECT_EQ(walked, 3);
    form->Free();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"Edit4", "F1", "MainMenu1", "Form"}));
}

TEST(ComponentTest, FreedComponentLeavesItsOwner) {
    std::vector<std::string> destroyed;
    TTrackedComponent owner(nullptr, destroyed, "Owner");
    auto* child = new TTrackedComponent(&owner, destroyed, "Child");
    child->SetTag(-1);
    EXPECT_EQ(owner.Components(0)->Tag(), -1);
    child->Free();
    EXPECT_EQ(owner.ComponentCount(), 0);
    EXPECT_EQ(destroyed, std::vector<std::string>{"Child"});
}
