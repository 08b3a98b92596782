#pragma once
// The arithmetic of a skinned window's frame: the frame sizes the border pictures give, which
// caption buttons show, where they and the title go, which cells they paint, what a caption
// button's action does, and what part of the frame a point is over.
#include "skin/draw/SkinGeometry.h"

// Left, top, right and bottom border widths and the drawn menu bar's height.
struct TFrameSizes {
    int left = 0, top = 0, right = 0, bottom = 0, menu = 0;
};
// One border picture: its size and how many equal states it holds.
struct TBorderPicture {
    int width = 0, height = 0, frames = 1;
};
// The side borders' cells lie side by side (their width gives the frame), the top and bottom
// borders' cells are stacked (their height gives it). A window without a frame gets zeros.
TFrameSizes FrameSizesFromBorders(const TBorderPicture& left, const TBorderPicture& right, const TBorderPicture& top,
                                  const TBorderPicture& bottom, bool noFrame, int menuHeight);

// What decides whether a caption button shows.
struct TCaptionFacts {
    int captionKind = 0;  // 0 framed, 2 popup without caption, 3 otherwise
    bool hadSystemMenu = false, hadMinimize = false, hadMaximize = false;
    bool maximized = false;
    bool active = false;
    // A multiple-document frame whose active child is maximised, and which has a menu bar.
    bool childMaximizedInMenuBar = false;
};
constexpr int kMenuBarVisibility = 100;  // buttons of a maximised multiple-document child
bool CaptionButtonVisible(int action, int visibility, int visibility1, const TCaptionFacts& facts);

// Where a caption button goes (window coordinates).
struct TCaptionButtonPlacement {
    int align = 0, x = 0, y = 0, width = 0, height = 0;
};
struct TCaptionSpace {
    int windowWidth = 0;
    int borderRight = 0;
    TSkinRect titleRect;            // the title's text area, for alignments 2, 3, 8, 9
    int menuTop = 0, menuHeight = 0;  // the drawn menu bar, for alignment 100
    int menuBackLeft = 0;           // the menu-bar background's left margin (0 without one)
};
TSkinRect CaptionButtonRect(const TCaptionButtonPlacement& button, const TCaptionSpace& space);

// The title's text area: text width plus the text background's margins, placed by the title's
// alignment (0 from the text shift, 1 centred, 2 flush right before the right clip), centred
// vertically and moved down by half the vertical shift, never past the right clip.
struct TTitleMetrics {
    int alignment = 0, textShift = 0, textShiftVert = 0, rightClip = 0, backLeft = 0, backRight = 0;
};
TSkinRect TitleTextRect(const TTitleMetrics& title, int textWidth, int textHeight, int windowWidth, int captionHeight);

// Cells: a border paints cell 1 when the window is active or the picture has one state, else
// cell 2. A caption button paints its state (1 normal, 2 pressed, 3 mouse over), a
// multiple-document button cell 4 for mouse over, and any button of an inactive window cell 4
// when its picture has four states or more.
int BorderCell(bool active, int frames);
int CaptionButtonCell(int state, bool menuBarButton, bool active, int frames);

// What a caption button's action does.
enum class TCaptionAction {
    Close,
    MaximizeOrRestore,
    MinimizeOrRestore,
    SystemMenu,
    MinimizeChild,
    RestoreChild,
    CloseChild,
    PostToWindow,  // the program's own action: the window gets it as a message
};
TCaptionAction CaptionActionFor(int action);

// What part of a skinned window a point (window coordinates) is over.
enum class TFrameHit {
    Client, Caption, Menu, Border, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight, Nowhere
};
// `sizeable` windows can be sized from within `grip` pixels of their outer edge.
TFrameHit FrameHitTest(int x, int y, int width, int height, const TFrameSizes& frame, bool sizeable, int grip);
