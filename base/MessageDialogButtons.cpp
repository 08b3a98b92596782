#include "base/MessageDialogButtons.h"

#include <cstddef>

namespace {

constexpr TMessageButtonDef kButtons[] = {
    {mbYes, "是(&Y)", mrYes},         {mbNo, "否(&N)", mrNo},          {mbOK, "确定", mrOk},
    {mbCancel, "取消", mrCancel},     {mbAbort, "中止(&A)", mrAbort},  {mbRetry, "重试(&R)", mrRetry},
    {mbIgnore, "忽略(&I)", mrIgnore}, {mbAll, "全部(&A)", mrAll},      {mbNoToAll, "全否(&O)", mrNoToAll},
    {mbYesToAll, "全是(&A)", mrYesToAll}, {mbHelp, "帮助(&H)", mrNone},
};

bool Has(TMsgDlgButtons buttons, TMsgDlgBtn button) { return (buttons >> button) & 1u; }

}  // namespace

std::vector<TMessageButtonDef> MessageButtons(TMsgDlgButtons buttons) {
    std::vector<TMessageButtonDef> result;
    for (const TMessageButtonDef& kind : kButtons)
        if (Has(buttons, kind.button)) result.push_back(kind);
    return result;
}

int DefaultButtonIndex(TMsgDlgButtons buttons) {
    std::vector<TMessageButtonDef> shown = MessageButtons(buttons);
    for (TMsgDlgBtn wanted : {mbOK, mbYes})
        for (size_t i = 0; i < shown.size(); ++i)
            if (shown[i].button == wanted) return static_cast<int>(i);
    return shown.empty() ? -1 : 0;
}

TModalResult CancelResult(TMsgDlgButtons buttons) {
    if (Has(buttons, mbCancel)) return mrCancel;
    if (Has(buttons, mbNo)) return mrNo;
    if (Has(buttons, mbOK)) return mrOk;
    return mrCancel;
}

const char* MessageTypeCaption(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return "警告";
    case mtError:
        return "错误";
    case mtInformation:
        return "信息";
    case mtConfirmation:
        return "确认";
    default:
        return "";
    }
}
