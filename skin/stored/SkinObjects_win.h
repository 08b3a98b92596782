#pragma once
// The decoded skin: one object per element of the skin's settings file, holding its picture
// (owned), the fixed margins that are not stretched, and its states and colours.
#include <memory>
#include <string>

#include "picture/bmp/Bitmap_win.h"
#include "toolkit/GraphicsObjects_win.h"

class TDataSkinObject {
public:
    explicit TDataSkinObject(std::string name);
    virtual ~TDataSkinObject();
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    // Fixed margins of the picture (pixels).
    int LeftWidth = 0;
    int TopHeight = 0;
    int RightWidth = 0;
    int BottomHeight = 0;
    std::unique_ptr<TBitmap> Picture;  // never null; empty when the skin names none
    int Trans = 0;                     // 1: magenta pixels are transparent
    int Tile = 0;                      // for the frame borders: their Stretch value
    std::string Name;
    int FrameCount = 1;
    // Indexes into the skin's colour table (−1 = none).
    int NormalColour = -1;
    int MouseOverColour = -1;
    int PressedColour = -1;
    // Text colours of the three states.
    TColor NormalColour2 = clBtnText;
    TColor MouseOverColour2 = clBtnText;
    TColor PressedColour2 = clBtnText;

    bool HasPicture() const { return !Picture->Empty(); }
    // Takes another element's values and pictures (the pictures share their image until
    // either side changes it); the element stays its own object.
    void AssignFrom(const TDataSkinObject& source);
};

class TDataSkinBorder : public TDataSkinObject {
public:
    explicit TDataSkinBorder(std::string name);
    ~TDataSkinBorder() override;
    std::unique_ptr<TBitmap> Picture2;  // the tabs' page border; never null
    void AssignFrom(const TDataSkinBorder& source);
};

class TDataSkinTitle : public TDataSkinObject {
public:
    explicit TDataSkinTitle(std::string name);
    ~TDataSkinTitle() override;
    // The text shift, vertical shift and right clip live in the base's margins.
    int TextShift() const { return LeftWidth; }
    int TextShiftVert() const { return TopHeight; }
    int TextRightClip() const { return RightWidth; }
    int TextAlignment = 0;
    int TextBackground = 0;
    int FontHeight = 14;
    int BackLeft = 0;   // margins of the text background
    int BackRight = 0;
    TColor ActiveTextColour = clNone;
    TColor InactiveTextColour = clNone;
    void AssignFrom(const TDataSkinTitle& source);
};

class TDataSkinButton : public TDataSkinObject {
public:
    explicit TDataSkinButton(std::string name);
    ~TDataSkinButton() override;
    std::unique_ptr<TBitmap> CheckPicture;  // never null
    std::unique_ptr<TBitmap> RadioPicture;  // never null
    int RadioFrameCount = 0;
    int CheckFrameCount = 0;
    void AssignFrom(const TDataSkinButton& source);
};

class TDataSkinSysButton : public TDataSkinObject {
public:
    explicit TDataSkinSysButton(std::string name);
    ~TDataSkinSysButton() override;
    int Action = 0;
    int Align = 0;
    int XCoord = 0;
    int YCoord = 0;
    int CombineOp = -1;
    int Visibility = 0;
    int Visibility1 = 0;
    void AssignFrom(const TDataSkinSysButton& source);
};
