#include "toolkit/BusyState_win.h"

#include "toolkit/Edit_win.h"
#include "toolkit/Form_win.h"
#include "toolkit/Screen_win.h"

int TBusyState::running_ = 0;

TBusyState::TBusyState(TEdit& status, const char* waitText) : status_(status), before_(status.Text()) {
    ++running_;
    if (TForm* form = status_.ParentForm()) form->UpdateDropTarget();
    Screen->SetCursor(crHourGlass);
    status_.SetText(waitText);
    // The wait text and the area a closed dialog uncovered, before the window goes quiet.
    if (TForm* form = status_.ParentForm()) form->ShowPendingPaint();
}

TBusyState::~TBusyState() {
    --running_;
    if (TForm* form = status_.ParentForm()) form->UpdateDropTarget();
    Screen->SetCursor(crDefault);
    if (!finished_) status_.SetText(before_);
}

void TBusyState::Finish(const std::string& text) {
    finished_ = true;
    status_.SetText(text);
}
