// The main window's two menus: the menu bar and the popup menu (also the tray icon's).
#include "app/MainForm_win.h"

namespace {

constexpr const char* kSkinCaptions[] = {"蓝色心情(&1)", "WinXP风格(&2)", "青色丛林(&3)", "绿色田野(&4)",
                                         "灰色城堡(&5)", "银色世界(&6)", "戈壁沙滩(&7)"};
constexpr int kSkinGroupIndexes[] = {0, 1, 2, 3, 3, 3, 3};

TMenuItem* AddItem(TVyrfForm1* form, TMenuItem* parent, const std::string& name, const char* caption,
                   TShortCut shortCut = scNone) {
    auto* item = new TMenuItem(form);
    item->SetName(name);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    parent->Add(item);
    return item;
}

}  // namespace

void TVyrfForm1::BuildMainMenu() {
    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    TMenuItem* bar = MainMenu1->Items();
    F1 = AddItem(this, bar, "F1", "文件(&F)");
    M2 = AddItem(this, F1, "M2", "最小化窗口(&M)", scCtrl | 'M');
    Q1 = AddItem(this, F1, "Q1", "退出(&Q)", scCtrl | 'Q');
    N4 = AddItem(this, bar, "N4", "功能选择");
    N5 = AddItem(this, N4, "N5", "图标提取(&G)", scCtrl | 'G');
    N6 = AddItem(this, N4, "N6", "图片转换(&C)", scCtrl | 'C');
    S1 = AddItem(this, bar, "S1", "界面(&S)");
    TMenuItem** skins[] = {&Skin1, &Skin2, &Skin3, &Skin4, &Skin5, &Skin6, &Skin7};
    for (int i = 0; i < 7; ++i) {
        *skins[i] = AddItem(this, S1, "Skin" + std::to_string(i + 1), kSkinCaptions[i],
                            static_cast<TShortCut>(scCtrl | (VirtualKey::F1 + i)));
        (*skins[i])->SetGroupIndex(kSkinGroupIndexes[i]);
    }
    Skin1->SetChecked(true);
    H1 = AddItem(this, bar, "H1", "帮助(&H)");
    F2 = AddItem(this, H1, "F2", "帮助文件(&F)", VirtualKey::F1);
    A1 = AddItem(this, H1, "A1", "关于(&A)", scCtrl | 'A');
    SetMenu(MainMenu1);
}

void TVyrfForm1::BuildPopupMenu() {
    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    TMenuItem* root = PopupMenu1->Items();
    N1 = AddItem(this, root, "N1", "显示主窗口(&S)");
    N1->SetDefault(true);
    M1 = AddItem(this, root, "M1", "最小化主窗口(&M)");
    N3 = AddItem(this, root, "N3", "界面选择(&F)");
    TMenuItem** skins[] = {&RSkin1, &RSkin2, &RSkin3, &RSkin4, &RSkin5, &RSkin6, &RSkin7};
    for (int i = 0; i < 7; ++i) *skins[i] = AddItem(this, N3, "RSkin" + std::to_string(i + 1), kSkinCaptions[i]);
    RSkin1->SetChecked(true);
    N2 = AddItem(this, root, "N2", "退出(&Q)");
    TControl::SetPopupMenu(PopupMenu1);
}

std::vector<TMenuItem*> TVyrfForm1::SkinItems() const { return {Skin1, Skin2, Skin3, Skin4, Skin5, Skin6, Skin7}; }

std::vector<TMenuItem*> TVyrfForm1::TraySkinItems() const {
    return {RSkin1, RSkin2, RSkin3, RSkin4, RSkin5, RSkin6, RSkin7};
}
