// Form mode: the controls a form owns are dressed by the first rule of the table below that
// applies to them. The rules that name other makers' control classes match nothing in this
// program; they keep their places so that such classes are easy to add.
#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <vector>

#include "skin/stored/SkinData_win.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/controls/SkinPainters_win.h"
#include "toolkit/BitBtn_win.h"
#include "toolkit/Edit_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/GroupBox_win.h"
#include "toolkit/PageControl_win.h"
#include "toolkit/RadioButton_win.h"

namespace {

using TPainterFactory = std::function<std::unique_ptr<TSkinControl>(TSkinForm&)>;

template <typename Painter>
TPainterFactory Make() {
    return [](TSkinForm& window) { return std::make_unique<Painter>(window); };
}

// What the walk knows of one control.
struct TFoundControl {
    TWinControl& control;
    std::string className;  // upper case
    LONG style;
    TSkinForm& window;
};

enum TRuleAction {
    raPaint,       // attach the painter
    raSkip,        // leave the control as it is
    raWalk,        // a container of other makers: walk what it holds
    raPaintGroup,  // a radio group of other makers: a box and a radio painter per child
    raEmbedded,    // an embedded form: its colour and its own controls
};

struct TRule {
    std::function<bool(const TFoundControl&)> applies;
    TRuleAction action;
    TPainterFactory painter;  // for raPaint and raPaintGroup
    bool setColour;
    int needs;  // a TSkinControlType, or -1 when the rule needs no member
};

bool ClassIn(const TFoundControl& found, const std::vector<const char*>& names) {
    return std::any_of(names.begin(), names.end(), [&](const char* name) { return found.className == name; });
}
bool ClassIs(const TFoundControl& found, const char* name) { return found.className == name; }
template <typename T>
bool Is(const TFoundControl& found) {
    return dynamic_cast<T*>(&found.control) != nullptr;
}
// Tags a program gives controls of other classes to have them dressed as these.
constexpr int kTagScrollBars = 55;
constexpr int kTagCombo = 56;
constexpr int kTagEdit = 57;

bool TagIs(const TFoundControl& found, int tag) { return found.control.Tag() == tag; }

// Classes of other makers' controls, by rule; this program uses none of them.
const std::vector<const char*> kGridComboClasses = {};
const std::vector<const char*> kPanelContainerClasses = {};
const std::vector<const char*> kRadioGroupClasses = {};
const std::vector<const char*> kLookupComboClasses = {"TDBLOOKUPCOMBOBOX"};
const std::vector<const char*> kEditClasses = {};
const std::vector<const char*> kFieldEditClasses = {};
const std::vector<const char*> kPopupEditClasses = {};
const std::vector<const char*> kDataCheckBoxClasses = {};
const std::vector<const char*> kRichMemoClasses = {};

const std::vector<TRule>& Rules() {
    static const std::vector<TRule> rules = {
        {[](auto& f) { return ClassIn(f, kGridComboClasses); }, raSkip, nullptr, false, -1},
        {[](auto& f) { return ClassIs(f, "TTABBEDNOTEBOOK") || Is<TPageControl>(f); }, raPaint, Make<TSkinTab>(),
         false, xcTab},
        {[](auto& f) { return ClassIn(f, kPanelContainerClasses); }, raWalk, nullptr, false, -1},
        {[](auto& f) { return ClassIs(f, "TTRACKBAR"); }, raPaint, Make<TSkinTrackBar>(), false, xcCheckBox},
        {[](auto& f) { return ClassIs(f, "TUPDOWN"); }, raPaint, Make<TSkinUpDown>(), false, xcCheckBox},
        {[](auto& f) { return ClassIn(f, kRadioGroupClasses); }, raPaintGroup, Make<TSkinBox>(), true, xcRadioButton},
        {[](auto& f) { return Is<TGroupBox>(f); }, raPaint, Make<TSkinBox>(), true, xcPanel},
        {[](auto& f) { return Is<TRadioButton>(f); }, raPaint, Make<TSkinRadioButton>(), true, xcRadioButton},
        {[](auto& f) { return TagIs(f, kTagCombo); }, raPaint, Make<TSkinComBox>(), false, xcCombo},
        {[](auto& f) { return ClassIs(f, "TDATETIMEPICKER"); }, raPaint,
         [](TSkinForm& window) -> std::unique_ptr<TSkinControl> {
             // Bit 0 of the skinned window's style picks the edit look.
             if (GetWindowLongW(window.Handle(), GWL_STYLE) & 1) return std::make_unique<TSkinEdit>(window);
             return std::make_unique<TSkinComBox>(window);
         },
         false, xcEdit},
        {[](auto& f) { return ClassIn(f, kLookupComboClasses); }, raPaint, Make<TSkinComBox>(), false, xcCombo},
        {[](auto& f) { return ClassIs(f, "TRICHEDIT"); }, raPaint, Make<TSkinScrollBar>(), false, xcScrollbar},
        {[](auto& f) { return ClassIn(f, kEditClasses); }, raPaint, Make<TSkinEdit>(), false, xcEdit},
        {[](auto& f) { return ClassIn(f, kFieldEditClasses); }, raPaint, Make<TSkinEdit>(), false, xcEdit},
        {[](auto& f) { return ClassIn(f, kPopupEditClasses); }, raPaint, Make<TSkinComBox>(), false, xcCombo},
        {[](auto& f) { return ClassIn(f, kDataCheckBoxClasses); }, raPaint, Make<TSkinCheckBox>(), true, xcCheckBox},
        {[](auto& f) { return Is<TBitBtn>(f); }, raPaint, Make<TSkinBitButton>(), false, xcBitBtn},
        {[](auto& f) { return TagIs(f, kTagScrollBars) || (f.style & (WS_VSCROLL | WS_HSCROLL)) != 0; }, raPaint,
         Make<TSkinScrollBar>(), false, xcScrollbar},
        {[](auto& f) { return Is<TButton>(f); }, raPaint, Make<TSkinButton>(), false, xcButton},
        {[](auto& f) { return Is<TEdit>(f) || TagIs(f, kTagEdit); }, raPaint, Make<TSkinEdit>(), false, xcEdit},
        {[](auto& f) { return Is<TForm>(f); }, raEmbedded, nullptr, false, -1},
    };
    return rules;
}

bool Needed(const TSkinData& data, int member) {
    return member < 0 || (data.SkinControls & SkinControlBit(static_cast<TSkinControlType>(member))) != 0;
}

std::string UpperClassName(HWND window) {
    std::string name = WindowClassName(window);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

void Attach(TSkinForm& window, TSkinData& data, TWinControl& control, const TPainterFactory& make, bool setColour) {
    std::unique_ptr<TSkinControl> painter = make(window);
    painter->AttachControl(control, data, setColour);
    window.Controls().push_back(std::move(painter));
}

// Controls of other makers' radio groups: each child gets a radio painter.
void AttachGroupChildren(TSkinForm& window, TSkinData& data, TWinControl& group) {
    for (int i = 0; i < group.ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(group.Controls(i));
        if (child && !FindControlPainter(window, child->Handle())) Attach(window, data, *child, Make<TSkinRadioButton>(), true);
    }
}

void SkinOneControl(TSkinForm& window, TSkinData& data, TWinControl& control, HWND handle) {
    TFoundControl found{control, UpperClassName(handle), GetWindowLongW(handle, GWL_STYLE), window};
    // Rich edits and memos of other makers get scroll bars alone when scroll bars are wanted.
    if (Needed(data, xcScrollbar) && ClassIn(found, kRichMemoClasses)) {
        Attach(window, data, control, Make<TSkinScrollBar>(), false);
        return;
    }
    for (const TRule& rule : Rules()) {
        if (!rule.applies(found)) continue;
        switch (rule.action) {
        case raSkip:
            return;
        case raWalk:
            SkinFormControls(window, control, data);
            return;
        case raEmbedded:
            control.SetColor(data.Colours.ButtonFace);
            SkinFormControls(window, control, data);
            return;
        case raPaintGroup:
            if (!Needed(data, rule.needs)) return;
            Attach(window, data, control, rule.painter, rule.setColour);
            AttachGroupChildren(window, data, control);
            return;
        case raPaint:
            if (rule.painter == nullptr || !Needed(data, rule.needs)) return;
            if (rule.needs == xcTab && !(data.Tabs && data.Tabs->HasPicture())) return;
            Attach(window, data, control, rule.painter, rule.setColour);
            return;
        }
    }
}

}  // namespace

void SkinFormControls(TSkinForm& window, TComponent& parent) { SkinFormControls(window, parent, window.SkinData()); }

void SkinFormControls(TSkinForm& window, TComponent& parent, TSkinData& data) {
    for (int i = 0; i < parent.ComponentCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(parent.Components(i));
        if (!control) continue;  // labels, images, menus and dialogs are never dressed
        if (control->Tag() % 100 == data.DisableTag) continue;
        // A control without a window yet (on a page not shown so far) is dressed when its window
        // is made (CM_CONTROLSCREATED).
        if (!control->HandleAllocated()) continue;
        HWND handle = control->Handle();
        if (FindControlPainter(window, handle)) continue;
        SkinOneControl(window, data, *control, handle);
    }
}
