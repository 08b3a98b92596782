// The main window's skins: the store of the seven stored skins, the two skin-data components
// as the window's stored form sets them up, and the fourteen skin menu commands.
#include "app/MainForm_win.h"

#include "skin/stored/SkinStreamProperty.h"
#include "skin/stored/StoredSkins_win.h"

namespace {

using TSkinHandler = void (TVyrfForm1::*)(TObject*);

constexpr TSkinHandler kSkinHandlers[] = {&TVyrfForm1::Skin1Click, &TVyrfForm1::Skin2Click, &TVyrfForm1::Skin3Click,
                                          &TVyrfForm1::Skin4Click, &TVyrfForm1::Skin5Click, &TVyrfForm1::Skin6Click,
                                          &TVyrfForm1::Skin7Click};
constexpr TSkinHandler kTraySkinHandlers[] = {&TVyrfForm1::RSkin1Click, &TVyrfForm1::RSkin2Click,
                                              &TVyrfForm1::RSkin3Click, &TVyrfForm1::RSkin4Click,
                                              &TVyrfForm1::RSkin5Click, &TVyrfForm1::RSkin6Click,
                                              &TVyrfForm1::RSkin7Click};

}  // namespace

// The components come in the stored form's order (SkinData1 first, so it heads the skin
// manager's list); both are told that the form has been read once both exist.
void TVyrfForm1::CreateSkinComponents() {
    SkinStore1 = new TSkinStore(this);
    SkinStore1->SetName("SkinStore1");
    LoadStoredSkins(*SkinStore1);
    SkinData1 = new TSkinData(this);
    SkinData1->SetName("SkinData1");
    ReadSkinDataFromForm(*SkinData1, sfMainform);
    SkinData2 = new TSkinData(this);
    SkinData2->SetName("SkinData2");
    ReadSkinDataFromForm(*SkinData2, sfDialog);
    SkinData1->Loaded();
    SkinData2->Loaded();
}

// What the stored form holds for each component: active, Tag 99 left alone, every kind of
// control but reports, its form type, and the first skin as its "SkinStream" property.
void TVyrfForm1::ReadSkinDataFromForm(TSkinData& data, TSkinFormType formType) {
    TMemoryStream property;
    WriteSkinStreamProperty(property, SkinStore1->Store().Items(kFirstSkin).DataStream());
    property.SetPosition(0);
    data.SetReading(true);
    data.SetActive(true);
    data.DisableTag = 99;
    data.SkinControls = AllSkinControlsButReport;
    data.SkinFormtype = formType;
    data.ReadSkinStream(property);
    data.SetReading(false);
}

void TVyrfForm1::AssignSkinHandlers() {
    std::vector<TMenuItem*> skins = SkinItems(), traySkins = TraySkinItems();
    for (size_t i = 0; i < skins.size(); ++i) {
        skins[i]->OnClick = [this, handler = kSkinHandlers[i]](TObject* sender) { (this->*handler)(sender); };
        traySkins[i]->OnClick = [this, handler = kTraySkinHandlers[i]](TObject* sender) { (this->*handler)(sender); };
    }
}

// The group index and the radio setting of the items do not tie the check marks together:
// both groups are set here, whichever was used. The skin in force is reloaded like any other.
void TVyrfForm1::ChooseSkin(int n) {
    SkinData1->LoadSkinFromStore(*SkinStore1, n - 1);
    SkinData2->LoadSkinFromStore(*SkinStore1, n - 1);
    std::vector<TMenuItem*> skins = SkinItems(), traySkins = TraySkinItems();
    for (size_t i = 0; i < skins.size(); ++i) skins[i]->SetChecked(static_cast<int>(i) == n - 1);
    for (size_t i = 0; i < traySkins.size(); ++i) traySkins[i]->SetChecked(static_cast<int>(i) == n - 1);
}

void TVyrfForm1::Skin1Click(TObject*) { ChooseSkin(1); }
void TVyrfForm1::Skin2Click(TObject*) { ChooseSkin(2); }
void TVyrfForm1::Skin3Click(TObject*) { ChooseSkin(3); }
void TVyrfForm1::Skin4Click(TObject*) { ChooseSkin(4); }
void TVyrfForm1::Skin5Click(TObject*) { ChooseSkin(5); }
void TVyrfForm1::Skin6Click(TObject*) { ChooseSkin(6); }
void TVyrfForm1::Skin7Click(TObject*) { ChooseSkin(7); }
void TVyrfForm1::RSkin1Click(TObject*) { ChooseSkin(1); }
void TVyrfForm1::RSkin2Click(TObject*) { ChooseSkin(2); }
void TVyrfForm1::RSkin3Click(TObject*) { ChooseSkin(3); }
void TVyrfForm1::RSkin4Click(TObject*) { ChooseSkin(4); }
void TVyrfForm1::RSkin5Click(TObject*) { ChooseSkin(5); }
void TVyrfForm1::RSkin6Click(TObject*) { ChooseSkin(6); }
void TVyrfForm1::RSkin7Click(TObject*) { ChooseSkin(7); }
