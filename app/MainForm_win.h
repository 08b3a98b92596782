#pragma once
// The main window: a page control with the icon extraction, picture conversion and About
// pages, the main menu and the popup menu. Its layout is built in MainFormLayout_win.cpp and
// MainFormMenus_win.cpp, its own handlers are in MainFormHandlers_win.cpp; the pages' handlers
// are attached by their own parts of the program (icons/, convert/, the About page, the tray
// icon) through TMainFormPart; the pages see the window as TMainFormPages.
#include <memory>
#include <string>
#include <vector>

#include "pages/MainFormPages_win.h"
#include "picture/Image_win.h"
#include "skin/stored/SkinData_win.h"
#include "skin/stored/SkinStore.h"
#include "toolkit/Label_win.h"
#include "toolkit/Menus_win.h"

class TVyrfForm1 : public TMainFormPages {
public:
    explicit TVyrfForm1(TComponent* owner);
    const char* ClassName() const override { return "TVyrfForm1"; }

    // The stored skin both skin-data components hold when the window is read (store order).
    static constexpr int kFirstSkin = 0;

    // About page.
    TImage* Image2;
    TLabel* Label3;
    TLabel* Label4;
    TLabel* Label5;
    TLabel* Label6;
    TLabel* Label7;
    TLabel* Label8;
    TLabel* Label9;
    TLabel* Label10;
    TLabel* Label12;
    TLabel* Label13;
    TLabel* Label14;
    TLabel* Label11;

    // Menus.
    TMainMenu* MainMenu1;
    TMenuItem* F1;
    TMenuItem* M2;
    TMenuItem* Q1;
    TMenuItem* N4;
    TMenuItem* N5;
    TMenuItem* N6;
    TMenuItem* S1;
    TMenuItem* Skin1;
    TMenuItem* Skin2;
    TMenuItem* Skin3;
    TMenuItem* Skin4;
    TMenuItem* Skin5;
    TMenuItem* Skin6;
    TMenuItem* Skin7;
    TMenuItem* H1;
    TMenuItem* F2;
    TMenuItem* A1;
    TPopupMenu* PopupMenu1;
    TMenuItem* N1;
    TMenuItem* M1;
    TMenuItem* N3;
    TMenuItem* RSkin1;
    TMenuItem* RSkin2;
    TMenuItem* RSkin3;
    TMenuItem* RSkin4;
    TMenuItem* RSkin5;
    TMenuItem* RSkin6;
    TMenuItem* RSkin7;
    TMenuItem* N2;

    // The seven stored skins, and the skin in force: SkinData1 dresses the program's own
    // windows, SkinData2 message boxes and standard dialogs.
    TSkinStore* SkinStore1;
    TSkinData* SkinData1;
    TSkinData* SkinData2;

    // The items of both skin groups, Skin1 ... Skin7 and RSkin1 ... RSkin7, in order.
    std::vector<TMenuItem*> SkinItems() const;
    std::vector<TMenuItem*> TraySkinItems() const;

    // Handlers of the window itself.
    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void FormDestroy(TObject* sender);
    // A dropped file goes to the page in front; from the About page, to the page for its kind.
    void FormFileDrop(TObject* sender, const std::string& fileName);
    void Q1Click(TObject* sender);
    void N2Click(TObject* sender);
    void N5Click(TObject* sender);
    void N6Click(TObject* sender);
    void A1Click(TObject* sender);
    void M1Click(TObject* sender);
    void M2Click(TObject* sender);
    void N1Click(TObject* sender);
    // Skin choice from the main menu and from the tray menu: item n selects store item n - 1.
    void Skin1Click(TObject* sender);
    void Skin2Click(TObject* sender);
    void Skin3Click(TObject* sender);
    void Skin4Click(TObject* sender);
    void Skin5Click(TObject* sender);
    void Skin6Click(TObject* sender);
    void Skin7Click(TObject* sender);
    void RSkin1Click(TObject* sender);
    void RSkin2Click(TObject* sender);
    void RSkin3Click(TObject* sender);
    void RSkin4Click(TObject* sender);
    void RSkin5Click(TObject* sender);
    void RSkin6Click(TObject* sender);
    void RSkin7Click(TObject* sender);
    // The application-wide message hook: the window-menu command 99 ("关于(&A)...").
    void WinMsg(MSG& message, bool& handled);

private:
    void CreatePages();
    void CreateIconPage();
    void CreateConvertPage();
    void CreateAboutPage();
    void BuildMainMenu();
    void BuildPopupMenu();
    void CreateDialogs();
    void CreateSkinComponents();
    void ReadSkinDataFromForm(TSkinData& data, TSkinFormType formType);
    void AssignHandlers();
    void AssignSkinHandlers();
    // Loads store item n - 1 into both skin-data components and checks item n of both groups.
    void ChooseSkin(int n);
    void AttachParts();

    std::vector<std::unique_ptr<TMainFormPart>> parts_;
};

extern TVyrfForm1* VyrfForm1;
