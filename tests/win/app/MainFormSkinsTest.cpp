// The main window's skins and the skin manager's rules, with the program's own components:
// which windows are dressed and from which skin data, the skin menus of both groups, the
// single re-skin pass after a switch, and what a skin that does not load leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MainForm_win.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/manager/SkinManager_win.h"
#include "skin/stored/StoredSkinNames.h"
#include "toolkit/Application_win.h"

namespace {

class MainFormSkinsTest : public ::testing::Test {
protected:
    void SetUp() override {
        TSkinManage::Finalize();  // every test starts with the program's own first manager
        app_ = std::make_unique<TApplication>();
        app_->Initialize();
        app_->SetTitle("Quorlin图片处理Tervane");
        form_ = app_->CreateForm<TVyrfForm1>();
        manager_ = TSkinManage::Instance();
    }
    void TearDown() override {
        app_.reset();
        TSkinManage::Finalize();
    }

    // Runs the message loop until done() holds or the time is up.
    bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 2000) {
        DWORD start = GetTickCount();
        while (!done() && GetTickCount() - start < milliseconds) {
            app_->ProcessMessages();
            Sleep(5);
        }
        return done();
    }
    bool TimerDone() {
        return PumpUntil([this] { return !manager_->ActionTimerRunning(); });
    }
    bool Dressed(TWinControl* control) { return manager_->FindSkinnedWindow(control->Handle()); }

    TForm* ShowOtherForm(int tag) {
        auto* form = new TForm(app_.get());
        form->SetTag(tag);
        form->SetClientSize(120, 80);
        form->SetVisible(true);
        return form;
    }

    std::vector<bool> Checks(const std::vector<TMenuItem*>& items) {
        std::vector<bool> checks;
        for (TMenuItem* item : items) checks.push_back(item->Checked());
        return checks;
    }

    std::unique_ptr<TApplication> app_;
    TVyrfForm1* form_ = nullptr;
    TSkinManage* manager_ = nullptr;
};

TEST_F(MainFormSkinsTest, TheMainWindowIsDressedFromTheFirstSkinAtItsFirstActivation) {
    ASSERT_NE(manager_, nullptr);
    EXPECT_EQ(manager_->SkinDataList(), (std::vector<TSkinData*>{form_->SkinData1, form_->SkinData2}));
    EXPECT_EQ(form_->SkinStore1->Store().Count(), StoredSkins::Count);
    for (TSkinData* data : {form_->SkinData1, form_->SkinData2}) {
        EXPECT_TRUE(data->Active());
        EXPECT_FALSE(data->NotReady());
        EXPECT_EQ(data->SkinName, StoredSkins::SkinNames[0]);
        EXPECT_EQ(data->SkinControls, AllSkinControlsButReport);
    }
    EXPECT_EQ(form_->SkinData2->SkinFormtype, sfDialog);
    EXPECT_TRUE(manager_->SkinningOn());
    EXPECT_EQ(manager_->RunningCounter(), TSkinManage::rcRunning);
    ASSERT_TRUE(Dressed(form_));
    EXPECT_EQ(&manager_->SkinnedWindow(form_->Handle())->SkinData(), form_->SkinData1);
    EXPECT_EQ(manager_->SkinnedWindow(form_->Handle())->Form(), form_) << "form mode";

    // Message boxes and standard dialogs take the dialog skin, everything else the main one.
    HWND main = form_->Handle();
    EXPECT_EQ(manager_->ChooseSkinData(main, "TVyrfForm1"), form_->SkinData1);
    EXPECT_EQ(manager_->ChooseSkinData(main, "TMessageForm"), form_->SkinData2);
    EXPECT_EQ(manager_->ChooseSkinData(main, "#32770"), form_->SkinData2);
    EXPECT_EQ(manager_->ChooseSkinData(main, "#32768"), form_->SkinData1);
    EXPECT_FALSE(manager_->ClassMayBeSkinned("SysMonthCal32"));
    std::string asked;
    form_->SkinData1->OnFormSkin = [&asked](TSkinData&, const std::string& name, bool& doSkin) {
        asked = name;
        doSkin = name != "TForm";
    };
    EXPECT_FALSE(manager_->ClassMayBeSkinned("TForm"));
    EXPECT_EQ(asked, "TForm");
    EXPECT_TRUE(manager_->ClassMayBeSkinned("TForm2"));
}

TEST_F(MainFormSkinsTest, AFormTaggedNinetyNineStaysPlainThroughDeactivationAndActivation) {
    form_->SkinData1->DisableTag = 7;  // the rule is the fixed 99, not DisableTag
    TForm* tagged = ShowOtherForm(99);
    TForm* other = ShowOtherForm(0);
    EXPECT_FALSE(Dressed(tagged));
    EXPECT_TRUE(Dressed(other));

    form_->SkinData1->SetActive(false);
    EXPECT_EQ(manager_->PendingAction(), TSkinManage::saDeactivate);
    ASSERT_TRUE(TimerDone());
    EXPECT_FALSE(manager_->SkinningOn());
    EXPECT_TRUE(manager_->SkinnedWindows().empty());

    form_->SkinData1->SetActive(true);
    ASSERT_TRUE(TimerDone());
    EXPECT_TRUE(manager_->SkinningOn());
    EXPECT_TRUE(Dressed(form_));
    EXPECT_TRUE(Dressed(other));
    EXPECT_FALSE(Dressed(tagged));
    EXPECT_EQ(manager_->SkinnedWindows().front()->Handle(), other->Handle()) << "the last form is dressed first";
}

TEST_F(MainFormSkinsTest, TheDialogComponentsActiveAndAnIndexPastTheStoreChangeNothing) {
    form_->SkinData2->SetActive(false);
    form_->SkinData1->LoadSkinFromStore(*form_->SkinStore1, StoredSkins::Count);
    EXPECT_EQ(manager_->PendingAction(), TSkinManage::saNone);
    EXPECT_FALSE(manager_->ActionTimerRunning());
    EXPECT_FALSE(form_->SkinData1->NotReady());
    EXPECT_EQ(form_->SkinData1->SkinName, StoredSkins::SkinNames[0]);
    PumpUntil([] { return false; }, 350);
    EXPECT_TRUE(manager_->SkinningOn());
    EXPECT_TRUE(Dressed(form_));
}

TEST_F(MainFormSkinsTest, ChoosingFromTheTrayMenuLoadsBothComponentsAndChecksBothGroups) {
    form_->RSkin4->Click();
    std::vector<bool> fourth = {false, false, false, true, false, false, false};
    EXPECT_EQ(Checks(form_->SkinItems()), fourth);
    EXPECT_EQ(Checks(form_->TraySkinItems()), fourth);
    const TSkinCollectionItem& item = form_->SkinStore1->Store().Items(3);
    EXPECT_EQ(item.Name(), "SkinItem7");
    for (TSkinData* data : {form_->SkinData1, form_->SkinData2}) {
        EXPECT_EQ(data->SkinStream().Bytes(), item.DataStream().Bytes());
        EXPECT_EQ(data->SkinName, StoredSkins::SkinNames[3]);
    }
    form_->Skin7->Click();
    EXPECT_EQ(Checks(form_->TraySkinItems()), (std::vector<bool>{false, false, false, false, false, false, true}));
    EXPECT_EQ(form_->SkinData2->SkinName, StoredSkins::SkinNames[6]);
}

TEST_F(MainFormSkinsTest, ChoosingTheSkinInForceReskinsOnceAQuarterSecondLater) {
    std::vector<DWORD> fired1, fired2;
    form_->SkinData1->OnSkinChanged = [&fired1](TSkinData&) { fired1.push_back(GetTickCount()); };
    form_->SkinData2->OnSkinChanged = [&fired2](TSkinData&) { fired2.push_back(GetTickCount()); };
    DWORD chosen = GetTickCount();
    form_->Skin1->Click();  // the timer starts when SkinData1 has loaded, before SkinData2 loads
    DWORD loaded = GetTickCount();
    EXPECT_EQ(manager_->PendingAction(), TSkinManage::saReskin);
    EXPECT_TRUE(fired1.empty()) << "nothing is re-dressed before the message loop runs";
    PumpUntil([] { return false; }, 1500);
    ASSERT_EQ(fired1.size(), 1u);
    EXPECT_GE(fired1[0] - chosen, 230u) << "the timer waits a quarter of a second";
    EXPECT_GT(fired1[0], loaded);
    EXPECT_LE(fired1[0] - loaded, 1200u);
    EXPECT_TRUE(fired2.empty());
    EXPECT_TRUE(Dressed(form_));
    EXPECT_TRUE(form_->Skin1->Checked() && form_->RSkin1->Checked());
}

TEST_F(MainFormSkinsTest, NoScrollBarWindowIsCreatedOnADressedWindow) {
    auto createChild = [](HWND parent, const char* className) {
        return CreateWindowExA(0, className, "", WS_CHILD | SBS_VERT, 0, 0, 16, 60, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    };
    ASSERT_TRUE(Dressed(form_));
    EXPECT_EQ(createChild(form_->Handle(), "ScrollBar"), nullptr);
    HWND button = createChild(form_->Handle(), "Button");
    EXPECT_NE(button, nullptr);
    DestroyWindow(button);
    TForm* plain = ShowOtherForm(99);
    HWND scrollBar = createChild(plain->Handle(), "ScrollBar");
    EXPECT_NE(scrollBar, nullptr) << "only dressed windows refuse them";
    DestroyWindow(scrollBar);
}

TEST_F(MainFormSkinsTest, ADamagedSkinFileLeavesTheComponentNotReadyAndTheWindowsPlain) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "tervane-damaged.skn";
    std::vector<uint8_t> damaged = form_->SkinStore1->Store().Items(1).DataStream().Bytes();
    damaged.resize(damaged.size() / 3);
    for (size_t i = 4; i < damaged.size(); i += 7) damaged[i] ^= 0x5A;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, damaged.data(), static_cast<DWORD>(damaged.size()), &written, nullptr);
    CloseHandle(file);

    std::function<void(const char*)> notice = TSkinData::NoticeHandler();
    TSkinData::NoticeHandler() = [](const char*) {};  // a damaged archive may look like an older one
    form_->SkinData1->SetSkinFile(path);
    TSkinData::NoticeHandler() = notice;
    DeleteFileA(path.c_str());
    EXPECT_TRUE(form_->SkinData1->NotReady());
    ASSERT_TRUE(TimerDone());
    EXPECT_FALSE(Dressed(form_)) << "no window keeps a skin that did not load";
    TForm* later = ShowOtherForm(0);
    EXPECT_FALSE(Dressed(later));

    form_->SkinData1->SetSkinFile(path);  // gone now: nothing more happens
    EXPECT_TRUE(form_->SkinData1->NotReady());
    form_->Skin2->Click();
    EXPECT_FALSE(form_->SkinData1->NotReady());
    later->Hide();
    later->Show();
    SetActiveWindow(later->Handle());
    EXPECT_TRUE(PumpUntil([&] { return Dressed(later); }));
}

}  // namespace
