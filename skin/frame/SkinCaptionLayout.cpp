#include "skin/frame/SkinCaptionLayout.h"

#include <algorithm>

namespace {

int CellLength(int length, int frames) { return length / std::max(1, frames); }

// The rule both visibility codes share for the codes 1 … 9.
bool StateRule(int code, const TCaptionFacts& facts, bool& shows) {
    switch (code) {
    case 1: shows = facts.maximized; return true;
    case 2: shows = !facts.maximized; return true;
    case 3: shows = facts.active; return true;
    case 4: shows = !facts.active; return true;
    case 7: shows = !facts.hadMaximize; return true;
    case 9: shows = !facts.hadMinimize; return true;
    default: return false;
    }
}

bool FirstCodeShows(int code, int action, const TCaptionFacts& facts) {
    bool shows = false;
    if (StateRule(code, facts, shows)) return shows;
    switch (code) {
    case 0: return facts.captionKind != 3 && (action != 0 || facts.hadSystemMenu);
    case 6: return facts.hadMaximize && facts.hadSystemMenu;
    case 8: return facts.hadMinimize && facts.hadSystemMenu;
    case kMenuBarVisibility: return facts.childMaximizedInMenuBar;
    default: return code >= 200 && code <= 2000;
    }
}

bool SecondCodeShows(int code, bool firstShows, const TCaptionFacts& facts) {
    bool shows = false;
    if (StateRule(code, facts, shows)) return shows;
    switch (code) {
    case 0: return true;
    case 6: return facts.hadMaximize;
    case 8: return facts.hadMinimize;
    case kMenuBarVisibility: return firstShows;
    default: return code >= 200 && code <= 2000;
    }
}

}  // namespace

TFrameSizes FrameSizesFromBorders(const TBorderPicture& left, const TBorderPicture& right, const TBorderPicture& top,
                                  const TBorderPicture& bottom, bool noFrame, int menuHeight) {
    if (noFrame) return {};
    return {CellLength(left.width, left.frames), CellLength(top.height, top.frames),
            CellLength(right.width, right.frames), CellLength(bottom.height, bottom.frames), menuHeight};
}

bool CaptionButtonVisible(int action, int visibility, int visibility1, const TCaptionFacts& facts) {
    if (action == 1 && !facts.hadMaximize) return false;
    if (action == 2 && !facts.hadMinimize) return false;
    bool first = FirstCodeShows(visibility, action, facts);
    return first && SecondCodeShows(visibility1, first, facts);
}

TSkinRect CaptionButtonRect(const TCaptionButtonPlacement& button, const TCaptionSpace& space) {
    int left = button.x, top = button.y;
    switch (button.align) {
    case 1: left = space.windowWidth - button.x; break;
    case 2:
    case 8: left = space.titleRect.left - button.width - button.x; break;
    case 3:
    case 9: left = space.titleRect.right + button.x; break;
    case kMenuBarVisibility:
        left = space.windowWidth - button.x - space.borderRight - space.menuBackLeft;
        top = space.menuTop + (space.menuHeight - button.height) / 2;
        break;
    default: break;
    }
    return {left, top, left + button.width, top + button.height};
}

TSkinRect TitleTextRect(const TTitleMetrics& title, int textWidth, int textHeight, int windowWidth,
                        int captionHeight) {
    int width = textWidth + title.backLeft + title.backRight;
    int limit = windowWidth - title.rightClip;
    int left = title.textShift;
    if (title.alignment == 1) left = (windowWidth - width) / 2;
    if (title.alignment == 2) left = limit - width;
    int top = (captionHeight - textHeight) / 2 + title.textShiftVert / 2;
    int right = std::min(left + width, limit);
    return {left, top, std::max(left, right), top + textHeight};
}

int BorderCell(bool active, int frames) { return active || frames <= 1 ? 1 : 2; }

int CaptionButtonCell(int state, bool menuBarButton, bool active, int frames) {
    if (!active && frames >= 4) return 4;
    if (menuBarButton && state == 3) return 4;
    return std::max(1, state);
}

TCaptionAction CaptionActionFor(int action) {
    switch (action) {
    case 0: return TCaptionAction::Close;
    case 1:
    case 22: return TCaptionAction::MaximizeOrRestore;
    case 2:
    case 23: return TCaptionAction::MinimizeOrRestore;
    case 3:
    case 11:
    case 12: return TCaptionAction::SystemMenu;
    case 7:
    case 60: return TCaptionAction::MinimizeChild;
    case 8:
    case 61: return TCaptionAction::RestoreChild;
    case 9:
    case 62: return TCaptionAction::CloseChild;
    default: return TCaptionAction::PostToWindow;
    }
}

TFrameHit FrameHitTest(int x, int y, int width, int height, const TFrameSizes& frame, bool sizeable, int grip) {
    if (x < 0 || y < 0 || x >= width || y >= height) return TFrameHit::Nowhere;
    int clientTop = frame.top + frame.menu;
    if (x >= frame.left && x < width - frame.right && y >= clientTop && y < height - frame.bottom)
        return TFrameHit::Client;
    if (sizeable) {
        bool left = x < grip, right = x >= width - grip, top = y < grip, bottom = y >= height - grip;
        if (top && left) return TFrameHit::TopLeft;
        if (top && right) return TFrameHit::TopRight;
        if (bottom && left) return TFrameHit::BottomLeft;
        if (bottom && right) return TFrameHit::BottomRight;
        if (left) return TFrameHit::Left;
        if (right) return TFrameHit::Right;
        if (top) return TFrameHit::Top;
        if (bottom) return TFrameHit::Bottom;
    }
    if (y < frame.top && x >= frame.left && x < width - frame.right) return TFrameHit::Caption;
    if (y < frame.top && !sizeable) return TFrameHit::Caption;  // the caption's ends over the side borders
    if (y >= frame.top && y < clientTop && x >= frame.left && x < width - frame.right) return TFrameHit::Menu;
    return TFrameHit::Border;
}
