#pragma once
// Which buttons a message dialog shows, in which order, with which captions and answers,
// and which of them Enter and Escape stand for.
#include <initializer_list>
#include <vector>

#include "base/ModalResult.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = unsigned;

constexpr TMsgDlgButtons MsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
    TMsgDlgButtons set = 0;
    for (TMsgDlgBtn button : buttons) set |= 1u << button;
    return set;
}

struct TMessageButtonDef {
    TMsgDlgBtn button;
    const char* caption;
    TModalResult result;
};

// The buttons of the set in their fixed order (Yes, No, OK, Cancel, Abort, Retry, Ignore,
// All, No to all, Yes to all, Help), whatever order the caller listed them in.
std::vector<TMessageButtonDef> MessageButtons(TMsgDlgButtons buttons);
// The button Enter presses first: OK, else Yes, else the first button.
int DefaultButtonIndex(TMsgDlgButtons buttons);
// What Escape and the close box answer: Cancel, else No, else OK; mrCancel without any.
TModalResult CancelResult(TMsgDlgButtons buttons);
// The first part of the dialog's caption ("确认" for a confirmation).
const char* MessageTypeCaption(TMsgDlgType type);
