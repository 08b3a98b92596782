// Reading a decoded skin from its settings file, step by step in the order the painters
// rely on: borders, colours, caption buttons, push buttons, title, the optional elements,
// then the frame counts each element is drawn with.
#include <algorithm>
#include <cctype>

#include "skin/stored/ProfileFile_win.h"
#include "skin/stored/SkinColour.h"
#include "skin/stored/SkinData_win.h"
#include "skin/stored/SkinFrameRules.h"
#include "skin/stored/SkinReader.h"
#include "toolkit/Canvas_win.h"

namespace {

constexpr TColor SystemColour(int index) { return clSystemColor | static_cast<TColor>(index); }

std::string Upper(std::string text) {
    for (char& ch : text) {
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    }
    return text;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

class TSkinSettingsLoader {
public:
    TSkinSettingsLoader(TSkinData& data, const TProfileFile& ini) : d_(data), ini_(ini) {}

    void Run() {
        sections_ = ini_.SectionNames();
        d_.SkinName = ini_.ReadString("TitlebarSkin", "SkinName");
        ReadBorders();
        ReadColours();
        ReadCaptionButtons();
        ReadPushButtons();
        ReadTitle();
        ReadProgress();
        ReadMenuBar();
        ReadGenericElements();
        FixFrameCounts();
    }

private:
    int Int(const std::string& section, const std::string& key, int fallback) const {
        return ini_.ReadInteger(section, key, fallback);
    }
    TColor Colour(const std::string& section, const std::string& key, TColor fallback) const {
        return ParseSkinColour(ini_.ReadString(section, key), fallback);
    }
    void Picture(TBitmap& bitmap, const std::string& section, const std::string& key) {
        d_.LoadSkinBitmap(bitmap, ini_.ReadString(section, key));
    }

    void ReadBorders() {
        for (TDataSkinBorder* border : {&d_.Left, &d_.Right, &d_.Top, &d_.Bottom}) {
            const std::string& b = border->Name;
            int first = Int("Personality", b + "TopHeight", 0);
            int last = Int("Personality", b + "BotHeight", 0);
            bool vertical = border == &d_.Left || border == &d_.Right;
            border->LeftWidth = vertical ? 0 : first;
            border->RightWidth = vertical ? 0 : last;
            border->TopHeight = vertical ? first : 0;
            border->BottomHeight = vertical ? last : 0;
            border->FrameCount = Int("Personality", b + "Frame", 1);
            border->Tile = Int("Personality", b + "Stretch", 1);
            border->Trans = Int("Personality", b + "Trans", 1);
            Picture(*border->Picture, "Personality", b);
        }
    }

    void ReadColours() {
        TSkinColours& c = d_.Colours;
        c.WindowText = Colour("Colours", "WindowText", SystemColour(COLOR_WINDOWTEXT));
        c.ButtonFace = Colour("Colours", "ButtonFace", SystemColour(COLOR_BTNFACE));
        c.Scrollbar = Colour("Colours", "Scrollbar", SystemColour(COLOR_SCROLLBAR));
        c.HilightText = Colour("Colours", "HilightText", SystemColour(COLOR_HIGHLIGHTTEXT));
        c.Hilight = Colour("Colours", "Hilight", SystemColour(COLOR_HIGHLIGHT));
        c.Menubar = Colour("Colours", "Menubar", c.ButtonFace);
        c.Menu = Colour("Colours", "Menu", SystemColour(COLOR_MENU));
        std::string menuText = ini_.ReadString("Colours", "MenuText", ini_.ReadString("Colours", "ButtonFace"));
        c.MenuText = ParseSkinColour(menuText, SystemColour(COLOR_MENUTEXT));
        c.ButtonText = Colour("Colours", "ButtonText", SystemColour(COLOR_BTNTEXT));
        c.ButtonHilight = Colour("Colours", "ButtonHilight", SystemColour(COLOR_BTNHIGHLIGHT));
        c.Buttonlight = Colour("Colours", "Buttonlight", SystemColour(COLOR_BTNHIGHLIGHT));
        c.ButtonShadow = Colour("Colours", "ButtonShadow", SystemColour(COLOR_BTNSHADOW));
        c.ButtonDkShadow = Colour("Colours", "ButtonDkShadow", SystemColour(COLOR_BTNSHADOW));
        c.MenuBarText = Colour("Colours", "MenuBarText", SystemColour(COLOR_MENU));
        c.TitleTextActive = Colour("Colours", "TitleTextActive", SystemColour(COLOR_CAPTIONTEXT));
        // A skin may name its inactive title colour; otherwise it follows the active key.
        std::string inactive =
            ini_.ReadString("Colours", "TitleTextInactive", ini_.ReadString("Colours", "TitleTextActive"));
        c.TitleTextInactive = ParseSkinColour(inactive, SystemColour(COLOR_INACTIVECAPTIONTEXT));

        d_.ColourTable.clear();
        for (const std::string& section : sections_) {
            std::string upper = Upper(section);
            if (StartsWith(upper, "COLOUR") && upper != "COLOURS") {
                d_.ColourTable.push_back(Colour(section, "color", SystemColour(COLOR_WINDOWTEXT)));
            }
        }
    }

    void ReadCaptionButtons() {
        d_.SysButtons.clear();
        for (const std::string& section : sections_) {
            std::string upper = Upper(section);
            if (!StartsWith(upper, "BUTTON") || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
                upper == "BUTTON.CHECKBOX") {
                continue;
            }
            auto button = std::make_unique<TDataSkinSysButton>(section);
            button->Action = Int(section, "Action", 0);
            button->Align = Int(section, "Align", 0);
            button->XCoord = Int(section, "Xcoord", 0);
            button->YCoord = Int(section, "Ycoord", 0);
            button->Visibility = Int(section, "Visibility", 0);
            button->Visibility1 = Int(section, "Visibility1", 0);
            button->CombineOp = Int(section, "CombineOp", -1);
            Picture(*button->Picture, section, "ButtonImage");
            TBitmap& picture = *button->Picture;
            TCaptionButtonFrames frames = CaptionButtonFrames(Int(section, "frame", 0), button->Action, picture.Empty(),
                                                              picture.Width(), picture.Height());
            button->FrameCount = frames.frames;
            if (frames.dropPicture) picture.Assign(nullptr);
            d_.SysButtons.push_back(std::move(button));
        }
        AppendChildWindowButtons();
    }

    // Minimise, restore and close for maximised multiple-document children, cut from the
    // 12 columns of the MDICONTROLS picture.
    void AppendChildWindowButtons() {
        TBitmap controls;
        Picture(controls, "MDICONTROLS", "Image");
        int column = controls.Empty() ? 0 : controls.Width() / 12;
        for (int k = 0; k < 3; ++k) {
            auto button = std::make_unique<TDataSkinSysButton>("MDICONTROLS" + std::to_string(k));
            button->Action = 7 + k;
            button->Align = 100;
            button->Visibility = 100;
            button->Visibility1 = 0;
            button->FrameCount = 4;
            if (column > 0) {
                CopyColumns(controls, 4 * k * column, 4 * column, *button->Picture);
                button->XCoord = (column + 4) * (3 - k);
            }
            d_.SysButtons.push_back(std::move(button));
        }
    }

    static void CopyColumns(TBitmap& source, int x, int width, TBitmap& target) {
        target.SetPixelFormat(source.PixelFormat());
        target.SetSize(width, source.Height());
        RECT to{0, 0, width, source.Height()};
        RECT from{x, 0, x + width, source.Height()};
        target.Canvas().CopyRect(to, source.Canvas(), from);
    }

    void ReadElementColours(TDataSkinObject& element, const std::string& section) {
        element.NormalColour = Int(section, "NormalColour", -1);
        element.MouseOverColour = Int(section, "MouseOverColour", -1);
        element.PressedColour = Int(section, "PressedColour", -1);
        element.NormalColour2 = Colour(section, "NormalColour2", d_.Colours.ButtonText);
        element.MouseOverColour2 = Colour(section, "MouseOverColour2", d_.Colours.ButtonText);
        element.PressedColour2 = Colour(section, "PressedColour2", d_.Colours.ButtonText);
    }

    void ReadMargins(TDataSkinObject& element, const std::string& section) {
        element.LeftWidth = Int(section, "LeftWidth", 0);
        element.RightWidth = Int(section, "RightWidth", 0);
        element.TopHeight = Int(section, "TopHeight", 0);
        element.BottomHeight = Int(section, "BottomHeight", 0);
        element.Trans = Int(section, "Trans", 0);
    }

    void ReadPushButtons() {
        TDataSkinButton& b = d_.Buttons;
        ReadMargins(b, "Buttons");
        Picture(*b.Picture, "Buttons", "Bitmap");
        Picture(*b.CheckPicture, "Buttons", "CheckButton");
        Picture(*b.RadioPicture, "Buttons", "RadioButton");
        b.RadioFrameCount = Int("Buttons", "RadioButtonFrame", 0);
        b.CheckFrameCount = Int("Buttons", "CheckButtonFrame", 0);
        ReadElementColours(b, "Buttons");
    }

    void ReadTitle() {
        TDataSkinTitle& t = d_.Title;
        Picture(*t.Picture, "Personality", "TextBack");
        t.LeftWidth = Int("Personality", "TextShift", 0);
        t.TopHeight = Int("Personality", "TextShiftVert", 0);
        t.RightWidth = Int("Personality", "TextRightClip", 0);
        t.BottomHeight = 0;
        t.TextAlignment = Int("Personality", "TextAlignment", 0);
        t.TextBackground = Int("Personality", "Textbackground", 0);
        t.BackLeft = Int("Personality", "TXTBackleft", 0);
        t.BackRight = Int("Personality", "TXTBackRight", 0);
        t.FontHeight = Int("Fonts", "FontHeight", 14);
        t.ActiveTextColour = TextColour("ActiveText");
        t.InactiveTextColour = TextColour("InActiveText");
    }

    TColor TextColour(const std::string& prefix) const {
        int r = Int("Personality", prefix + "R", -1);
        int g = Int("Personality", prefix + "G", -1);
        int b = Int("Personality", prefix + "B", -1);
        if (r < 0 || g < 0 || b < 0) return clNone;
        return static_cast<TColor>(RGB(r & 0xFF, g & 0xFF, b & 0xFF));
    }

    // An element exists only when its picture does.
    template <typename Element>
    static void KeepIfPictured(std::unique_ptr<Element>& element) {
        if (element && !element->HasPicture()) element.reset();
    }

    void ReadProgress() {
        d_.Progress = std::make_unique<TDataSkinObject>("Progress");
        Picture(*d_.Progress->Picture, "Progress", "Bitmap");
        ReadMargins(*d_.Progress, "Progress");
        d_.Progress->Tile = Int("Progress", "Tile", 0);
        KeepIfPictured(d_.Progress);
    }

    void ReadMenuBar() {
        d_.MenuBar = std::make_unique<TDataSkinObject>("MenuBar");
        TDataSkinObject& m = *d_.MenuBar;
        Picture(*m.Picture, "Personality", "menuBar");
        m.TopHeight = 0;
        m.BottomHeight = 0;
        m.Tile = Int("Personality", "TileMenu", 0);
        m.LeftWidth = Int("Personality", "TileLeftMenu", 1);
        m.RightWidth = Int("Personality", "TileRightMenu", 1);
        KeepIfPictured(d_.MenuBar);
    }

    template <typename Element = TDataSkinObject>
    void ReadGeneric(std::unique_ptr<Element>& element, const std::string& section) {
        element = std::make_unique<Element>(section);
        Picture(*element->Picture, section, "Image");
        ReadMargins(*element, section);
        element->Tile = Int(section, "Tile", 0);
        ReadElementColours(*element, section);
        KeepIfPictured(element);
    }

    void ReadGenericElements() {
        ReadGeneric(d_.GroupBoxEdge, "GroupBoxEdge");
        ReadGeneric(d_.Toolbars, "Toolbars");
        ReadGeneric(d_.Tabs, "Tabs");
        if (d_.Tabs) Picture(*d_.Tabs->Picture2, "Tabs", "Border");
        ReadGeneric(d_.StatusBarEdges, "StatusBarEdges");
        ReadGeneric(d_.ComboButton, "ComboButton");
        ReadGeneric(d_.SunkEdge, "SunkEdge");
        ReadGeneric(d_.ExtraImages, "ExtraImages");
        ReadGeneric(d_.Headerbar, "Headerbar");
        ReadGeneric(d_.MenuItem, "MenuItem");
        ReadGeneric(d_.MenuBackground, "MenuBackground");
        ReadGeneric(d_.Scrollbar, "Scrollbar");
        ReadGeneric(d_.HorzScroll, "HorzScroll");
        ReadGeneric(d_.VertScroll, "VertScroll");
        ReadGeneric(d_.HorzScrollThumb, "HorzScrollThumb");
        ReadGeneric(d_.VertScrollThumb, "VertScrollThumb");
    }

    template <typename Element>
    static void SetFrames(const std::unique_ptr<Element>& element, int frames) {
        if (element) element->FrameCount = frames;
    }

    void FixFrameCounts() {
        TDataSkinButton& b = d_.Buttons;
        b.FrameCount = 5;
        if (b.RadioFrameCount == 0) {
            b.RadioFrameCount = DefaultToggleFrames(b.RadioPicture->Width(), b.RadioPicture->Height());
        }
        if (b.CheckFrameCount == 0) {
            b.CheckFrameCount = DefaultToggleFrames(b.CheckPicture->Width(), b.CheckPicture->Height());
        }
        d_.Title.FrameCount = 2;
        SetFrames(d_.Progress, 2);
        SetFrames(d_.MenuBar, 2);
        SetFrames(d_.GroupBoxEdge, 2);
        for (auto* five : {&d_.Toolbars, &d_.ExtraImages, &d_.Headerbar, &d_.MenuItem}) SetFrames(*five, 5);
        SetFrames(d_.Tabs, 5);
        SetFrames(d_.StatusBarEdges, 3);
        for (auto* four : {&d_.ComboButton, &d_.SunkEdge, &d_.HorzScroll, &d_.VertScroll}) SetFrames(*four, 4);
        SetFrames(d_.MenuBackground, 1);
        SetFrames(d_.Scrollbar, 23);
        SetFrames(d_.HorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
        SetFrames(d_.VertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));
    }

    TSkinData& d_;
    const TProfileFile& ini_;
    std::vector<std::string> sections_;
};

void TSkinData::ReadSettingsFile(const std::wstring& fileName) {
    TProfileFile ini(fileName);
    TSkinSettingsLoader(*this, ini).Run();
    FinishDecoding();
}

void TSkinData::FinishDecoding() {
    buttonFaceBrush_.Reset(CreateSolidBrush(ColorToRGB(Colours.ButtonFace)));
    notReady_ = false;
}

void TSkinData::LoadSkinBitmap(TBitmap& bitmap, const std::string& value) {
    std::string entryName = SkinPictureEntry(value);
    if (entryName.empty() || !reader_) {
        bitmap.Assign(nullptr);
        return;
    }
    TMemoryStream entry;
    reader_->ExtractByName(entryName, entry);
    if (entry.Size() == 0) {
        bitmap.Assign(nullptr);
        return;
    }
    // A damaged picture leaves its element without a picture rather than the skin half read.
    try {
        bitmap.LoadFromStream(entry);
    } catch (const Exception&) {
        bitmap.Assign(nullptr);
    }
}
