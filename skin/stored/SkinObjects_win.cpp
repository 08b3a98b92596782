#include "skin/stored/SkinObjects_win.h"

TDataSkinObject::TDataSkinObject(std::string name) : Picture(std::make_unique<TBitmap>()), Name(std::move(name)) {}
TDataSkinObject::~TDataSkinObject() = default;

TDataSkinBorder::TDataSkinBorder(std::string name)
    : TDataSkinObject(std::move(name)), Picture2(std::make_unique<TBitmap>()) {}
TDataSkinBorder::~TDataSkinBorder() = default;

TDataSkinTitle::TDataSkinTitle(std::string name) : TDataSkinObject(std::move(name)) {}
TDataSkinTitle::~TDataSkinTitle() = default;

TDataSkinButton::TDataSkinButton(std::string name)
    : TDataSkinObject(std::move(name)),
      CheckPicture(std::make_unique<TBitmap>()),
      RadioPicture(std::make_unique<TBitmap>()) {}
TDataSkinButton::~TDataSkinButton() = default;

TDataSkinSysButton::TDataSkinSysButton(std::string name) : TDataSkinObject(std::move(name)) {}
TDataSkinSysButton::~TDataSkinSysButton() = default;

void TDataSkinObject::AssignFrom(const TDataSkinObject& s) {
    LeftWidth = s.LeftWidth;
    TopHeight = s.TopHeight;
    RightWidth = s.RightWidth;
    BottomHeight = s.BottomHeight;
    Picture->Assign(s.Picture.get());
    Trans = s.Trans;
    Tile = s.Tile;
    Name = s.Name;
    FrameCount = s.FrameCount;
    NormalColour = s.NormalColour;
    MouseOverColour = s.MouseOverColour;
    PressedColour = s.PressedColour;
    NormalColour2 = s.NormalColour2;
    MouseOverColour2 = s.MouseOverColour2;
    PressedColour2 = s.PressedColour2;
}

void TDataSkinBorder::AssignFrom(const TDataSkinBorder& s) {
    TDataSkinObject::AssignFrom(s);
    Picture2->Assign(s.Picture2.get());
}

void TDataSkinTitle::AssignFrom(const TDataSkinTitle& s) {
    TDataSkinObject::AssignFrom(s);
    TextAlignment = s.TextAlignment;
    TextBackground = s.TextBackground;
    FontHeight = s.FontHeight;
    BackLeft = s.BackLeft;
    BackRight = s.BackRight;
    ActiveTextColour = s.ActiveTextColour;
    InactiveTextColour = s.InactiveTextColour;
}

void TDataSkinButton::AssignFrom(const TDataSkinButton& s) {
    TDataSkinObject::AssignFrom(s);
    CheckPicture->Assign(s.CheckPicture.get());
    RadioPicture->Assign(s.RadioPicture.get());
    RadioFrameCount = s.RadioFrameCount;
    CheckFrameCount = s.CheckFrameCount;
}

void TDataSkinSysButton::AssignFrom(const TDataSkinSysButton& s) {
    TDataSkinObject::AssignFrom(s);
    Action = s.Action;
    Align = s.Align;
    XCoord = s.XCoord;
    YCoord = s.YCoord;
    CombineOp = s.CombineOp;
    Visibility = s.Visibility;
    Visibility1 = s.Visibility1;
}
