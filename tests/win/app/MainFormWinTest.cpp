// The main window as built: its components with their designer names, Tags, hints and
// settings, both menus with their stored shortcut values, the start-up steps of FormCreate,
// the page commands and the application message hook.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/MainForm_win.h"
#include "toolkit/Application_win.h"
#include "toolkit/Screen_win.h"

namespace {

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<TApplication>();
        app_->Initialize();
        app_->SetTitle("Quorlin图片处理Tervane");
        form_ = app_->CreateForm<TVyrfForm1>();
    }
    void TearDown() override { app_.reset(); }

    template <typename T>
    T* Find(const char* name) {
        return dynamic_cast<T*>(form_->FindComponent(name));
    }

    std::unique_ptr<TApplication> app_;
    TVyrfForm1* form_ = nullptr;
};

}  // namespace

TEST_F(MainFormTest, ComponentsKeepTheirNamesTagsAndHints) {
    ASSERT_EQ(Find<TBitBtn>("BitBtn5"), form_->BitBtn5);
    EXPECT_EQ(form_->BitBtn5->Tag(), 1);
    EXPECT_EQ(form_->BitBtn6->Tag(), -1);
    EXPECT_EQ(Find<TBitBtn>("BitBtn8")->Caption(), "打开 ");
    EXPECT_EQ(form_->BitBtn8->Hint(), "打开要从中提取图标的文件");
    EXPECT_EQ(form_->BitBtn1->Hint(), "保存文件中所有的图标,保存路径如果有同名图标将覆盖");
    EXPECT_EQ(form_->BitBtn10->Hint(), "选择保存为的文件及格式");
    EXPECT_EQ(form_->Image1->Hint(), "图标预览");
    EXPECT_TRUE(form_->Image1->AutoSize() && form_->Image1->Stretch());
    EXPECT_EQ(form_->Image3->Hint(), "点击放大图片");
    EXPECT_EQ(form_->Image3->Cursor(), crHandPoint);
    EXPECT_EQ(form_->Image2->Cursor(), crHandPoint);
    EXPECT_TRUE(form_->ShowHint());
    EXPECT_TRUE(form_->BitBtn9->ShowHint()) << "controls follow the form's hint setting";
    for (TEdit* edit : {form_->Edit4, form_->Edit5, form_->Edit6, form_->Edit7}) EXPECT_TRUE(edit->ReadOnly());
    EXPECT_TRUE(form_->RadioButton1->Checked());
    EXPECT_FALSE(form_->RadioButton2->Checked());
    EXPECT_TRUE(form_->RadioButton3->Checked());
    EXPECT_FALSE(form_->RadioButton4->Checked());
    EXPECT_EQ(form_->RadioButton2->Parent(), form_->GroupBox1);
    EXPECT_EQ(form_->SaveDialog1->DefaultExt(), "ico");
    EXPECT_EQ(Find<TIconWriter>("IconWriter1"), form_->IconWriter1);
    int components = 0;
    form_->ForEachComponent([&](TComponent* component) {
        if (!component->Name().empty()) ++components;
    });
    EXPECT_GE(components, 74) << "controls, menus, items and dialogs are walkable";
}

TEST_F(MainFormTest, QualitySliderSettings) {
    TTrackBar* track = form_->TrackBar1;
    EXPECT_EQ(track->Min(), 0);
    EXPECT_EQ(track->Max(), 100);
    EXPECT_EQ(track->Position(), 65);
    EXPECT_EQ(track->PageSize(), 10);
    EXPECT_EQ(track->Frequency(), 10);
    EXPECT_EQ(track->ThumbLength(), 10);
    EXPECT_FALSE(track->TabStop());
}

TEST_F(MainFormTest, LinkLabelsHaveFontsOfTheirOwn) {
    for (TLabel* link : {form_->Label11, form_->Label12, form_->Label13, form_->Label14}) {
        EXPECT_EQ(link->Font().Color(), clBlue);
        EXPECT_EQ(link->Cursor(), crHandPoint);
        EXPECT_FALSE(link->ParentFont());
    }
    form_->Label12->Font().SetColor(clRed);
    EXPECT_EQ(form_->Label13->Font().Color(), clBlue) << "recolouring one link changes no other";
    EXPECT_EQ(form_->Label3->Font().Color(), form_->Font().Color());
    EXPECT_EQ(form_->Label12->Hint(), "到我主页看看");
    EXPECT_EQ(form_->Label11->Hint(), "备用邮箱");
}

TEST_F(MainFormTest, MenusCarryTheStoredShortcuts) {
    EXPECT_EQ(form_->M2->ShortCut(), 16461);
    EXPECT_EQ(form_->Q1->ShortCut(), 16465);
    EXPECT_EQ(form_->N5->ShortCut(), 16455);
    EXPECT_EQ(form_->N6->ShortCut(), 16451);
    EXPECT_EQ(form_->F2->ShortCut(), 112);
    EXPECT_EQ(form_->A1->ShortCut(), 16449);
    std::vector<TMenuItem*> skins = form_->SkinItems(), traySkins = form_->TraySkinItems();
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(skins[static_cast<size_t>(i)]->ShortCut(), 16496 + i);
        EXPECT_EQ(traySkins[static_cast<size_t>(i)]->ShortCut(), 0);
        EXPECT_EQ(traySkins[static_cast<size_t>(i)]->Caption(), skins[static_cast<size_t>(i)]->Caption());
        EXPECT_EQ(skins[static_cast<size_t>(i)]->Checked(), i == 0);
        EXPECT_EQ(traySkins[static_cast<size_t>(i)]->Checked(), i == 0);
    }
    EXPECT_EQ(form_->Skin2->GroupIndex(), 1);
    EXPECT_EQ(form_->Skin7->GroupIndex(), 3);
    EXPECT_TRUE(form_->N1->Default());
    EXPECT_EQ(form_->PopupMenu(), form_->PopupMenu1) << "the context menu of the window";
    std::vector<std::string> bar;
    for (int i = 0; i < form_->MainMenu1->Items()->Count(); ++i) bar.push_back(form_->MainMenu1->Items()->Items(i)->Caption());
    EXPECT_EQ(bar, (std::vector<std::string>{"文件(&F)", "功能选择", "界面(&S)", "帮助(&H)"}));
    EXPECT_EQ(form_->PopupMenu1->Items()->Count(), 4);
    EXPECT_EQ(form_->N3->Count(), 7);
}

TEST_F(MainFormTest, FormCreateSetsTheMenuFontTheHookAndTheWindowMenuItem) {
    EXPECT_EQ(Screen->MenuFont().Name(), "宋体");
    EXPECT_EQ(Screen->MenuFont().Size(), 9);
    EXPECT_TRUE(static_cast<bool>(app_->OnMessage));
    HMENU windowMenu = GetSystemMenu(app_->Handle(), FALSE);
    int count = GetMenuItemCount(windowMenu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(windowMenu, count - 1), 99u);
    char text[64] = {};
    GetMenuStringA(windowMenu, static_cast<UINT>(count - 1), text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "关于(&A)...");
    MENUITEMINFOA separator = {sizeof separator, MIIM_FTYPE};
    GetMenuItemInfoA(windowMenu, static_cast<UINT>(count - 2), TRUE, &separator);
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
}

TEST_F(MainFormTest, PageCommandsAndTheAboutCommandOfTheWindowMenu) {
    form_->Show();
    EXPECT_EQ(form_->PageControl1->ActivePage(), form_->TabSheet3);
    EXPECT_EQ(form_->PageControl1->Pages(0), form_->TabSheet2);
    EXPECT_EQ(form_->PageControl1->Pages(1), form_->TabSheet4);
    form_->N5->Click();
    EXPECT_EQ(form_->PageControl1->ActivePage(), form_->TabSheet2);
    form_->N6->Click();
    EXPECT_EQ(form_->PageControl1->ActivePage(), form_->TabSheet4);
    MSG about = {app_->Handle(), WM_SYSCOMMAND, 99, 0, 0, {0, 0}};
    bool handled = false;
    app_->OnMessage(about, handled);
    EXPECT_FALSE(handled) << "the hook passes every message on";
    EXPECT_EQ(form_->PageControl1->ActivePage(), form_->TabSheet3);
    form_->N5->Click();
    MSG other = {app_->Handle(), WM_SYSCOMMAND, 98, 0, 0, {0, 0}};
    app_->OnMessage(other, handled);
    EXPECT_EQ(form_->PageControl1->ActivePage(), form_->TabSheet2);
    form_->A1->Click();
    EXPECT_EQ(form_->PageControl1->ActivePage(), form_->TabSheet3);
    app_->ProcessMessages();  // the skin's frame takes its place at the first showing
    RECT client;
    GetClientRect(form_->Handle(), &client);
    EXPECT_EQ(client.right, 435);
    EXPECT_EQ(client.bottom, 292);
}

TEST_F(MainFormTest, ExitItemsEndTheMessageLoop) {
    form_->Show();
    form_->N2->Click();
    for (int i = 0; i < 10 && !app_->Terminated(); ++i) app_->ProcessMessages();
    EXPECT_TRUE(app_->Terminated());
}
