// The notification-area icon: added once the main window has first painted, removed when it is
// destroyed, and its mouse events (callback message 1026) handled by TrayMsg.
#include "app/TrayIcon_win.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <memory>

#include "app/TrayIconRecord.h"
#include "pages/ProgramTexts.h"
#include "toolkit/Application_win.h"
#include "toolkit/LateBoundLibraries_win.h"
#include "toolkit/WideText_win.h"

static_assert(sizeof(TTrayIconData) == kTrayIconDataSize, "the first wide layout of the notification-area record");

namespace {

class TTrayIcon : public TMainFormPart {
public:
    explicit TTrayIcon(TVyrfForm1& form) : form_(form) {
        hook_ = form_.AddMessageHook([this](TMessage& message, const TWndMethod& next) {
            if (message.Msg == kTrayCallbackMessage) {
                TrayMsg(message, next);
            } else {
                next(message);
            }
        });
        // Added once the window has painted: the shell's library it needs is loaded then.
        Application->QueueIdleWork([this, alive = alive_] {
            if (!*alive) return;
            added_ = true;
            Notify(NIM_ADD);
        });
    }

    void FormDestroying() override {
        *alive_ = false;
        if (added_) Notify(NIM_DELETE);
        form_.RemoveMessageHook(hook_);
    }

private:
    void Notify(DWORD action) {
        const std::wstring tip = WideFromAnsi(ProgramText::Title);
        TTrayIconData data =
            MakeTrayIconData(form_.Handle(), form_.Icon(), std::u16string(tip.begin(), tip.end()));
        // The shell reads only the bytes the record's size names; the rest stays zero.
        NOTIFYICONDATAW record;
        std::memset(&record, 0, sizeof record);
        std::memcpy(&record, &data, sizeof data);
        if (!LateBound::NotifyIcon(action, record)) {
            Application->MessageBox("托盘图标发生错误", Application->Title(), MB_OK);
        }
    }

    void TrayMsg(TMessage& message, const TWndMethod& next) {
        POINT cursor;
        GetCursorPos(&cursor);
        switch (message.LParam) {
            case WM_LBUTTONDOWN:
                // Minimising and restoring together bring every window of the program forward.
                if (!Application->Active()) {
                    Application->Minimize();
                    Application->Restore();
                }
                break;
            case WM_LBUTTONUP:
                break;
            case WM_RBUTTONDOWN:
                // Foreground first, or the menu would not close when the user clicks elsewhere.
                SetForegroundWindow(form_.Handle());
                form_.PopupMenu1->Popup(cursor.x, cursor.y);
                break;
            default:
                next(message);
                break;
        }
    }

    TVyrfForm1& form_;
    TMessageHookToken hook_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool added_ = false;
};

}  // namespace

std::unique_ptr<TMainFormPart> AttachTrayIcon(TVyrfForm1& form) { return std::make_unique<TTrayIcon>(form); }
