// A skin-data component whose stored skin is byte for byte one another component has already
// decoded takes that component's decoded objects instead of decoding the same archive again:
// a form that holds its skin twice starts in about half the decoding time. Each component
// keeps objects of its own (the pictures share their images until either side changes them).
#include <algorithm>

#include "skin/stored/SkinData_win.h"
#include "skin/stored/SkinDataEvents_win.h"
#include "skin/stored/SkinDecodeAhead_win.h"

namespace {

// Every component made at run time, so that a decode can find a twin without asking the
// manager above the stored skins.
std::vector<const TSkinData*>& LiveComponents() {
    static std::vector<const TSkinData*> live;
    return live;
}

// A copy of its own for every element (caption buttons' definitions are shared with the
// dressed buttons, the others owned alone: either kind of pointer).
template <typename Pointer>
void CopyElement(Pointer& target, const Pointer& source) {
    if (!source) {
        target.reset();
        return;
    }
    using Element = typename Pointer::element_type;
    target = Pointer(new Element(source->Name));
    target->AssignFrom(*source);
}

}  // namespace

void TSkinData::RegisterLive(bool live) {
    std::vector<const TSkinData*>& list = LiveComponents();
    if (live)
        list.push_back(this);
    else
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

const TSkinData* TSkinData::DecodedTwin() const {
    const std::vector<const TSkinData*>& list = LiveComponents();
    auto twin = std::find_if(list.begin(), list.end(), [this](const TSkinData* other) {
        return other != this && !other->designing_ && !other->notReady_ &&
               other->skinStream_.Bytes() == skinStream_.Bytes();
    });
    return twin == list.end() ? nullptr : *twin;
}

bool TSkinData::TakeDecodedSkin() {
    std::unique_ptr<TSkinData> ahead = TSkinDecodeAhead::Take(skinStream_.Bytes());
    const TSkinData* source = ahead ? ahead.get() : DecodedTwin();
    if (!source) return false;
    CopyDecodedSkin(*source);
    SkinDataEvents::PicturesReplaced(*this);
    return true;
}

void TSkinData::CopyDecodedSkin(const TSkinData& s) {
    SkinName = s.SkinName;
    for (auto [to, from] : {std::pair{&Left, &s.Left}, {&Right, &s.Right}, {&Top, &s.Top}, {&Bottom, &s.Bottom}})
        to->AssignFrom(*from);
    Title.AssignFrom(s.Title);
    Buttons.AssignFrom(s.Buttons);
    SysButtons.resize(s.SysButtons.size());
    for (size_t i = 0; i < s.SysButtons.size(); ++i) CopyElement(SysButtons[i], s.SysButtons[i]);
    CopyElement(Tabs, s.Tabs);
    for (auto [to, from] : {std::pair{&Progress, &s.Progress}, {&MenuBar, &s.MenuBar}, {&GroupBoxEdge, &s.GroupBoxEdge},
                            {&Toolbars, &s.Toolbars}, {&StatusBarEdges, &s.StatusBarEdges},
                            {&ComboButton, &s.ComboButton}, {&SunkEdge, &s.SunkEdge}, {&ExtraImages, &s.ExtraImages},
                            {&Headerbar, &s.Headerbar}, {&MenuItem, &s.MenuItem}, {&MenuBackground, &s.MenuBackground},
                            {&Scrollbar, &s.Scrollbar}, {&HorzScroll, &s.HorzScroll}, {&VertScroll, &s.VertScroll},
                            {&HorzScrollThumb, &s.HorzScrollThumb}, {&VertScrollThumb, &s.VertScrollThumb}})
        CopyElement(*to, *from);
    Colours = s.Colours;
    ColourTable = s.ColourTable;
    FinishDecoding();
}
