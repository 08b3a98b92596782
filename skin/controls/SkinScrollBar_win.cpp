// The scroll bars of a control (its WS_VSCROLL / WS_HSCROLL bars in the frame): painted over
// after the control drew its frame, from the scroll-bar arrow picture (23 cells), the track
// and the thumb pictures; a press on a bar is tracked here (arrows and track repeat while
// held, the thumb follows the mouse) and reported to the control as its scroll messages.
#include "skin/controls/SkinPainters_win.h"

#include <algorithm>

#include "skin/stored/SkinData_win.h"
#include "skin/draw/SkinElementLayout.h"
#include "skin/draw/SkinPaint_win.h"
#include "skin/draw/SkinWindowPoints_win.h"

using namespace SkinPainting;

namespace {

enum TBarPart { bpNone, bpFirstArrow, bpSecondArrow, bpFirstPage, bpSecondPage, bpThumb };

constexpr DWORD kFirstRepeat = 400;  // ms before a held arrow or page starts repeating
constexpr DWORD kRepeat = 50;

bool RedrawsBars(UINT msg) {
    switch (msg) {
    case WM_NCPAINT:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_SETTEXT:
    case WM_SIZE:
    case WM_ENABLE:
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case EM_REPLACESEL:
    case EM_SCROLLCARET:
    case EM_SETSEL:
        return true;
    default:
        return false;
    }
}

int ScrollCode(int part) {
    switch (part) {
    case bpFirstArrow: return SB_LINEUP;
    case bpSecondArrow: return SB_LINEDOWN;
    case bpFirstPage: return SB_PAGEUP;
    default: return SB_PAGEDOWN;
    }
}

}  // namespace

// One bar's geometry, in the control's window coordinates (0, 0 at its outer top-left).
struct TSkinScrollBar::TBarParts {
    RECT bar{}, firstArrow{}, secondArrow{}, thumb{};
    bool vertical = false;
    bool enabled = true;
    SCROLLINFO info{};
};

bool TSkinScrollBar::BarParts(int bar, TBarParts& parts) const {
    LONG style = GetWindowLongW(handle_, GWL_STYLE);
    if (!(style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL))) return false;
    SCROLLBARINFO info = {};
    info.cbSize = sizeof info;
    if (!GetScrollBarInfo(handle_, bar == SB_VERT ? OBJID_VSCROLL : OBJID_HSCROLL, &info)) return false;
    if (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) return false;
    RECT window;
    GetWindowRect(handle_, &window);
    parts.bar = info.rcScrollBar;
    OffsetRect(&parts.bar, -window.left, -window.top);
    parts.vertical = bar == SB_VERT;
    parts.info.cbSize = sizeof parts.info;
    parts.info.fMask = SIF_ALL;
    GetScrollInfo(handle_, bar, &parts.info);
    parts.enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) && IsWindowEnabled(handle_) &&
                    parts.info.nMax > parts.info.nMin &&
                    static_cast<int>(parts.info.nPage) <= parts.info.nMax - parts.info.nMin;
    // Wine reports the thumb's length as the arrow's; the arrows are the system's scroll-bar
    // size, shrunk to half the bar each when it is shorter.
    int length = parts.vertical ? parts.bar.bottom - parts.bar.top : parts.bar.right - parts.bar.left;
    int arrow = std::min(GetSystemMetrics(parts.vertical ? SM_CYVSCROLL : SM_CXHSCROLL), length / 2);
    parts.firstArrow = parts.secondArrow = parts.bar;
    parts.thumb = parts.bar;
    if (parts.vertical) {
        parts.firstArrow.bottom = parts.bar.top + arrow;
        parts.secondArrow.top = parts.bar.bottom - arrow;
        parts.thumb.top = parts.bar.top + info.xyThumbTop;
        parts.thumb.bottom = parts.bar.top + info.xyThumbBottom;
    } else {
        parts.firstArrow.right = parts.bar.left + arrow;
        parts.secondArrow.left = parts.bar.right - arrow;
        parts.thumb.left = parts.bar.left + info.xyThumbTop;
        parts.thumb.right = parts.bar.left + info.xyThumbBottom;
    }
    if (!parts.enabled || IsRectEmpty(&parts.thumb)) SetRectEmpty(&parts.thumb);
    return true;
}

void TSkinScrollBar::Repaint() {
    if (!Attached() || skinData_->NotReady() || !skinData_->Scrollbar || !skinData_->Scrollbar->HasPicture()) return;
    try {
        TWholeWindowDC dc(handle_);
        if (!dc.Get()) return;
        PaintBar(dc.Get(), SB_VERT);
        PaintBar(dc.Get(), SB_HORZ);
        TBarParts vertical, horizontal;
        if (BarParts(SB_VERT, vertical) && BarParts(SB_HORZ, horizontal)) {
            RECT corner{vertical.bar.left, horizontal.bar.top, vertical.bar.right, horizontal.bar.bottom};
            FillColour(dc.Get(), corner, Rgb(skinData_->Colours.ButtonFace));
        }
    } catch (...) {
    }
}

void TSkinScrollBar::PaintBar(HDC dc, int bar) {
    TBarParts parts;
    if (!BarParts(bar, parts)) return;
    TDataSkinObject& arrows = *skinData_->Scrollbar;
    TDataSkinObject* track = (parts.vertical ? skinData_->VertScroll : skinData_->HorzScroll).get();
    TDataSkinObject* thumb = (parts.vertical ? skinData_->VertScrollThumb : skinData_->HorzScrollThumb).get();
    auto stateOf = [&](int part) {
        if (!parts.enabled) return SkinCells::ScrollDisabled;
        if (activeBar_ == bar && pressedPart_ == part) return SkinCells::ScrollPressed;
        if (hotBar_ == bar && hotPart_ == part) return SkinCells::ScrollHot;
        return SkinCells::ScrollNormal;
    };
    RECT whole = parts.bar;
    OffScreen(dc, whole, [&](HDC buffer, const RECT&) {
        SetViewportOrgEx(buffer, -whole.left, -whole.top, nullptr);
        FillColour(buffer, whole, Rgb(skinData_->Colours.Scrollbar));
        if (track && track->HasPicture())
            DrawSkinObject(buffer, whole, *track, parts.enabled ? 1 : 4);
        int first = parts.vertical ? SkinCells::ScrollUp : SkinCells::ScrollLeft;
        int second = parts.vertical ? SkinCells::ScrollDown : SkinCells::ScrollRight;
        TSkinElementStyle style = ElementStyle(arrows);
        DrawSkinElementTransparent(buffer, parts.firstArrow, *arrows.Picture, style, first + stateOf(bpFirstArrow),
                                   arrows.Trans == 1);
        DrawSkinElementTransparent(buffer, parts.secondArrow, *arrows.Picture, style, second + stateOf(bpSecondArrow),
                                   arrows.Trans == 1);
        if (IsRectEmpty(&parts.thumb)) return;
        int thumbState = std::min<int>(stateOf(bpThumb), SkinCells::ScrollPressed);
        if (thumb && thumb->HasPicture())
            DrawSkinObject(buffer, parts.thumb, *thumb, thumbState + 1);
        else
            DrawEdge(buffer, &parts.thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
        // The grip, when the thumb has room for it.
        int cell = arrows.Picture->Width() / std::max(1, arrows.FrameCount);
        int length = parts.vertical ? parts.thumb.bottom - parts.thumb.top : parts.thumb.right - parts.thumb.left;
        if (length < cell + 4) return;
        int grip = (parts.vertical ? SkinCells::ScrollVertGrip : SkinCells::ScrollHorzGrip) + thumbState;
        RECT at = parts.thumb;
        if (parts.vertical)
            at.top += (length - cell) / 2;
        else
            at.left += (length - cell) / 2;
        DrawCell(buffer, at, *arrows.Picture, true, arrows.FrameCount, grip);
    });
}

void TSkinScrollBar::Scroll(int bar, int code, int position) {
    SendMessageW(handle_, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position), 0);
}

// Where the thumb was grabbed and the room it moves in, along the bar.
struct TSkinScrollBar::TThumbDrag {
    int grab = 0, trackStart = 0, trackLength = 0, thumbLength = 0, range = 0;
};

int TSkinScrollBar::PartAt(const TBarParts& parts, POINT local) {
    if (PtInRect(&parts.firstArrow, local)) return bpFirstArrow;
    if (PtInRect(&parts.secondArrow, local)) return bpSecondArrow;
    if (PtInRect(&parts.thumb, local)) return bpThumb;
    if (!PtInRect(&parts.bar, local)) return bpNone;
    int along = parts.vertical ? local.y : local.x;
    return along < (parts.vertical ? parts.thumb.top : parts.thumb.left) ? bpFirstPage : bpSecondPage;
}

bool TSkinScrollBar::TrackPress(int bar, POINT screen) {
    TBarParts parts;
    if (!BarParts(bar, parts) || !parts.enabled) return false;
    POINT local = ScreenToWindowPoint(handle_, screen);
    int part = PartAt(parts, local);
    if (part == bpNone) return false;
    activeBar_ = bar;
    pressedPart_ = part;
    TThumbDrag drag;
    drag.grab = parts.vertical ? local.y - parts.thumb.top : local.x - parts.thumb.left;
    drag.trackStart = parts.vertical ? parts.firstArrow.bottom : parts.firstArrow.right;
    drag.trackLength = (parts.vertical ? parts.secondArrow.top : parts.secondArrow.left) - drag.trackStart;
    drag.thumbLength = parts.vertical ? parts.thumb.bottom - parts.thumb.top : parts.thumb.right - parts.thumb.left;
    drag.range = parts.info.nMax - parts.info.nMin + 1 - std::max<int>(1, parts.info.nPage);
    int position = parts.info.nPos;
    if (part != bpThumb) Scroll(bar, ScrollCode(part));
    Repaint();
    if (!HoldPress(bar, part, parts, drag, position)) return true;  // the control went while the press was held
    if (GetCapture() == handle_) ReleaseCapture();
    if (part == bpThumb) Scroll(bar, SB_THUMBPOSITION, position);
    Scroll(bar, SB_ENDSCROLL);
    activeBar_ = -1;
    pressedPart_ = bpNone;
    Repaint();
    return true;
}

bool TSkinScrollBar::HoldPress(int bar, int part, TBarParts& parts, const TThumbDrag& drag, int& position) {
    std::shared_ptr<bool> alive = AliveFlag();
    SetCapture(handle_);
    DWORD next = GetTickCount() + kFirstRepeat;
    while (GetCapture() == handle_) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_LBUTTONUP || msg.message == WM_QUIT) {
                if (msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (msg.message == WM_MOUSEMOVE && msg.hwnd == handle_ && part == bpThumb) {
                position = DragThumb(bar, parts, drag);
                continue;
            }
            if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (!*alive) return false;
            continue;
        }
        if (part != bpThumb && GetTickCount() >= next) {
            RepeatPress(bar, part, parts);
            next = GetTickCount() + kRepeat;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

int TSkinScrollBar::DragThumb(int bar, const TBarParts& parts, const TThumbDrag& drag) {
    POINT cursor;
    GetCursorPos(&cursor);
    POINT local = ScreenToWindowPoint(handle_, cursor);
    int along = (parts.vertical ? local.y : local.x) - drag.grab - drag.trackStart;
    int room = std::max(1, drag.trackLength - drag.thumbLength);
    int position = parts.info.nMin + std::clamp(along, 0, room) * std::max(0, drag.range) / room;
    Scroll(bar, SB_THUMBTRACK, position);
    Repaint();
    return position;
}

// A held arrow or page repeats while the pointer stays on it.
void TSkinScrollBar::RepeatPress(int bar, int part, TBarParts& parts) {
    BarParts(bar, parts);  // the thumb moved
    POINT cursor;
    GetCursorPos(&cursor);
    if (PartAt(parts, ScreenToWindowPoint(handle_, cursor)) != part) return;
    Scroll(bar, ScrollCode(part));
    Repaint();
}

bool TSkinScrollBar::BeforeMessage(TMessage& message) {
    if (skinData_->NotReady() || !skinData_->Scrollbar || !skinData_->Scrollbar->HasPicture()) return true;
    if ((message.Msg == WM_NCLBUTTONDOWN || message.Msg == WM_NCLBUTTONDBLCLK) &&
        (message.WParam == HTVSCROLL || message.WParam == HTHSCROLL)) {
        if (TrackPress(message.WParam == HTVSCROLL ? SB_VERT : SB_HORZ, {PointX(message.LParam), PointY(message.LParam)})) {
            message.Result = 0;
            return false;
        }
    }
    return true;
}

bool TSkinScrollBar::HotPartMoved(const TMessage& move) {
    int bar = move.WParam == HTVSCROLL ? SB_VERT : move.WParam == HTHSCROLL ? SB_HORZ : -1;
    TBarParts parts;
    int part = bpNone;
    if (bar >= 0 && BarParts(bar, parts)) {
        part = PartAt(parts, ScreenToWindowPoint(handle_, {PointX(move.LParam), PointY(move.LParam)}));
        if (part == bpFirstPage || part == bpSecondPage) part = bpNone;  // the track shows no hover
    }
    if (bar == hotBar_ && part == hotPart_) return false;
    hotBar_ = bar;
    hotPart_ = part;
    return true;
}

void TSkinScrollBar::ForgetHotPart() {
    hotBar_ = -1;
    hotPart_ = bpNone;
}

void TSkinScrollBar::AfterMessage(TMessage& message) {
    if (FollowHover(message)) return;
    switch (message.Msg) {
    case WM_NCDESTROY:
        Release();
        break;
    default:
        if (RedrawsBars(message.Msg)) Repaint();
        break;
    }
}
