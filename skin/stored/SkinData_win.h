#pragma once
// The skin-data component: holds one stored skin, decodes it into the skin objects the frame,
// control and menu painters read, and tells the skin manager when its skin changes.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Component.h"
#include "base/Streams.h"
#include "skin/stored/SkinObjects_win.h"
#include "toolkit/GraphicsObjects_win.h"

class TSkinReader;
class TSkinStore;

enum TSkinControlType {
    xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress,
    xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox, xcStatusBar, xcTab, xcReport,
};
// A set of TSkinControlType: bit n stands for member n.
using TSkinControls = uint32_t;
constexpr TSkinControls SkinControlBit(TSkinControlType type) { return TSkinControls{1} << type; }
constexpr TSkinControls AllSkinControlsButReport = SkinControlBit(xcReport) - 1;

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

// The skin's named colours (section Colours).
struct TSkinColours {
    TColor WindowText, ButtonFace, Scrollbar, HilightText, Hilight, Menubar, Menu, MenuText, ButtonText,
        ButtonHilight, Buttonlight, ButtonShadow, ButtonDkShadow, MenuBarText, TitleTextActive, TitleTextInactive;
};


class TSkinData : public TComponent {
public:
    // A component made at run time joins the skin manager (the first one makes it); one made
    // at design time decodes nothing and never joins. Its owner (a form) frees it with itself.
    explicit TSkinData(TComponent* owner = nullptr, bool designing = false);
    // A skin decoded ahead on another thread (TSkinDecodeAhead): it joins no manager, is no
    // twin to anyone, announces nothing and shows no notice; a component takes its objects.
    struct DecodingAhead {};
    TSkinData(DecodingAhead, const std::vector<uint8_t>& skinStream);
    ~TSkinData() override;
    const char* ClassName() const override { return "TSkinData"; }

    // ---- published properties ----
    bool Active() const { return active_; }
    void SetActive(bool value);
    int32_t DisableTag = 99;
    TSkinControls SkinControls = AllSkinControlsButReport;
    const std::string& SkinFile() const { return skinFile_; }
    void SetSkinFile(const std::string& name);
    std::string SkinStore() const;
    void SetSkinStore(const std::string&) {}
    TSkinFormType SkinFormtype = sfMainform;
    std::function<void(TSkinData& sender, const std::string& className, bool& doSkin)> OnFormSkin;
    std::function<void(TSkinData& sender)> OnSkinChanged;

    // ---- streaming from a form ----
    bool Designing() const { return designing_; }
    bool Reading() const { return reading_; }
    void SetReading(bool reading) { reading_ = reading; }
    // The "SkinStream" binary property.
    void ReadSkinStream(TStream& source);
    void WriteSkinStream(TStream& target) const;
    // End of streaming: posts activation, or turns Active off when the skin did not decode.
    void Loaded();

    // ---- loading ----
    void LoadSkinFromStore(TSkinStore& store, int index);
    bool DecodeSkinStream();
    // Fills `bitmap` from the archive entry a settings value names (only while decoding).
    void LoadSkinBitmap(TBitmap& bitmap, const std::string& value);
    bool NotReady() const { return notReady_; }
    TMemoryStream& SkinStream() { return skinStream_; }

    // ---- the decoded skin ----
    std::string SkinName;
    TDataSkinBorder Left{"Left"};
    TDataSkinBorder Right{"Right"};
    TDataSkinBorder Top{"Top"};
    TDataSkinBorder Bottom{"Bottom"};
    TDataSkinTitle Title{"Title"};
    TDataSkinButton Buttons{"Buttons"};
    // The caption buttons the settings define, then the three multiple-document buttons.
    // Shared with the caption buttons made from them: a dressed window keeps drawing the
    // definitions it was made from until it is dressed again, whatever is decoded meanwhile.
    std::vector<std::shared_ptr<TDataSkinSysButton>> SysButtons;
    // Optional elements: null when the skin has none.
    std::unique_ptr<TDataSkinObject> Progress;
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinObject> Toolbars;
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinObject> ComboButton;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> Scrollbar;
    std::unique_ptr<TDataSkinObject> HorzScroll;
    std::unique_ptr<TDataSkinObject> VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb;
    std::unique_ptr<TDataSkinObject> VertScrollThumb;
    TSkinColours Colours{};
    std::vector<TColor> ColourTable;  // from the sections Colour0, Colour1, …
    // A solid brush of the ButtonFace colour, remade by every load.
    HBRUSH ButtonFaceBrush() const { return buttonFaceBrush_.Get(); }
    // The icon picture the frames of this skin's windows share (the frame's work).
    TBitmap& SharedIcon() { return *sharedIcon_; }

    // Shows the "older skin file" notice; tests replace it.
    static std::function<void(const char* message)>& NoticeHandler();

private:
    friend class TSkinSettingsLoader;
    void Announce();
    bool ReadStoredSkinFile(const std::string& name);
    void ReadSettingsFile(const std::wstring& fileName);
    // Joins or leaves the components a decode may take a twin from.
    void RegisterLive(bool live);
    // Another live component whose stored skin has the same bytes and is decoded, or null.
    const TSkinData* DecodedTwin() const;
    // Takes that component's decoded skin as if it had been decoded here.
    void CopyDecodedSkin(const TSkinData& source);
    // The skin decoded ahead or by a twin, taken when there is one.
    bool TakeDecodedSkin();
    // What every successful decoding ends with: the brush of the button face, and ready.
    void FinishDecoding();

    bool designing_;
    bool ahead_ = false;  // decoded ahead, see DecodingAhead
    bool reading_ = false;
    bool active_ = false;
    bool notReady_ = true;
    std::string skinFile_;
    TMemoryStream skinStream_;
    TSkinReader* reader_ = nullptr;  // the archive being decoded, during DecodeSkinStream
    TBrushHandle buttonFaceBrush_;
    std::unique_ptr<TBitmap> sharedIcon_;
};
