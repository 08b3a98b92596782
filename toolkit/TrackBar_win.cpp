#include "toolkit/TrackBar_win.h"

#include <commctrl.h>

#include <algorithm>

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    clickOnMouseUp_ = false;
    SetTabStop(true);
    SetBounds(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.systemClass = TRACKBAR_CLASSA;
    params.style |= TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM | TBS_FIXEDLENGTH;
}

void TTrackBar::HandleCreated() {
    TWinControl::HandleCreated();
    HWND window = Handle();
    SendMessageW(window, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(thumbLength_), 0);
    SendMessageW(window, TBM_SETRANGEMIN, FALSE, min_);
    SendMessageW(window, TBM_SETRANGEMAX, FALSE, max_);
    SendMessageW(window, TBM_SETLINESIZE, 0, 1);
    SendMessageW(window, TBM_SETPAGESIZE, 0, pageSize_);
    SendMessageW(window, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
    SendMessageW(window, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    if (HandleAllocated()) SendMessageW(Handle(), TBM_SETRANGE, TRUE, MAKELPARAM(min_, max_));
    SetPosition(position_);
}

void TTrackBar::SetPosition(int position) {
    position = std::clamp(position, min_, max_);
    if (HandleAllocated()) SendMessageW(Handle(), TBM_SETPOS, TRUE, position);
    if (position == position_) return;
    position_ = position;
    Changed();
}

void TTrackBar::SetPageSize(int pageSize) {
    pageSize_ = pageSize;
    if (HandleAllocated()) SendMessageW(Handle(), TBM_SETPAGESIZE, 0, pageSize);
}

void TTrackBar::SetFrequency(int frequency) {
    frequency_ = frequency;
    if (HandleAllocated()) SendMessageW(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
}

void TTrackBar::SetThumbLength(int length) {
    thumbLength_ = length;
    if (HandleAllocated()) SendMessageW(Handle(), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(length), 0);
}

void TTrackBar::Changed() {
    if (OnChange) OnChange(this);
}

void TTrackBar::WndProc(TMessage& message) {
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
        int position = static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
        if (position != position_) {
            position_ = position;
            Changed();
        }
        message.Result = 0;
        return;
    }
    TWinControl::WndProc(message);
}
