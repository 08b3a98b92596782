#pragma once
// The application object: the hidden top-level window that owns the taskbar button, the
// title, the message loop with its application-wide message hook, the default error display,
// the hints, and the minimising and restoring of the whole program.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/Component.h"
#include "toolkit/GdiGuards_win.h"

class TForm;
class TControl;
class THintWindow;
namespace LateBound {
class TOleLoadAhead;
}

// Sees every message taken from the queue before it is dispatched; setting handled to true
// keeps the message from going any further.
using TMessageEvent = std::function<void(MSG& message, bool& handled)>;
// Replaces the default error display (the message box) for errors that leave a handler.
using TExceptionEvent = std::function<void(TObject* sender, const std::string& message)>;
// Makes the window that shows hints; the application compares these to know when the
// class changed.
using THintWindowClass = THintWindow* (*)(TComponent* owner);

template <typename T>
THintWindow* MakeHintWindow(TComponent* owner) {
    return new T(owner);
}

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;
    const char* ClassName() const override { return "TApplication"; }

    // Creates the application window; nothing before this call makes a window.
    void Initialize();
    HWND Handle() const { return handle_; }

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    // The program's icon (the main icon resource), shown on the taskbar button.
    HICON Icon() const { return icon_.Get(); }

    // Creates a form owned by the application; the first one becomes the main form. Its
    // OnCreate runs here, once the whole object exists, and a form made visible in its
    // constructor shows after that, as it was set up.
    template <typename T>
    T* CreateForm() {
        formComing_ = true;
        T* form = nullptr;
        try {
            form = new T(this);
        } catch (...) {
            formComing_ = false;
            throw;
        }
        FormCreated(form);
        return form;
    }
    TForm* MainForm() const { return mainForm_; }
    // Every form that exists, in creation order (message forms included while they live).
    const std::vector<TForm*>& Forms() const { return forms_; }

    // Shows the taskbar's window (after painting a main form already up, which CreateForm
    // showed when it was made visible) and runs the message loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Takes one message from the queue and handles it, or waits for one when there is none.
    void HandleMessage();
    // Handles every message waiting in the queue, then returns.
    void ProcessMessages();

    TMessageEvent OnMessage;
    TExceptionEvent OnException;
    // Shows the error that is being handled (call from a catch block) in the default error
    // display, or hands it to OnException.
    void HandleException(TObject* sender);
    void ShowException(const std::string& message);
    // A message box owned by the active window of the program.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);
    // A text that may hold what code page 936 cannot (a file name as the system spells it).
    int MessageBox(const std::wstring& text, const std::string& caption, UINT flags);

    // Minimising hides every window of the program and leaves the taskbar button showing
    // it minimised; restoring brings the windows back as they were, with the focus.
    void Minimize();
    void Restore();
    bool IsMinimized() const { return handle_ && ::IsIconic(handle_); }
    // Whether one of the program's windows is the foreground window.
    bool Active() const;

    // Hints.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    THintWindowClass HintWindowClass() const { return hintWindowClass_; }
    void SetHintWindowClass(THintWindowClass hintClass) { hintWindowClass_ = hintClass; }
    int HintPause() const { return hintPause_; }
    void SetHintPause(int milliseconds) { hintPause_ = milliseconds; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int milliseconds) { hintHidePause_ = milliseconds; }
    void CancelHint();
    THintWindow* CurrentHintWindow() const { return hintWindow_; }
    TControl* HintControl() const { return hintControl_; }

    // Work that waits until the program has nothing else to do, the windows shown so far
    // painted: what the user does not see at once (the notification-area icon) stays off the
    // path to the first picture. Runs once, in the order queued, from the message loop.
    void QueueIdleWork(std::function<void()> work) { idleWork_.push_back(std::move(work)); }

    // The control under the mouse pointer that last got the mouse-enter notification.
    TControl* MouseControl() const { return mouseControl_; }

    void FormDestroyed(TForm* form);
    void ControlDestroyed(TControl* control);

private:
    friend class TForm;
    void FormCreated(TForm* form);
    void RegisterForm(TForm* form) { forms_.push_back(form); }
    // Whether the form being constructed is the one CreateForm makes (and not one that its
    // constructor makes in turn); asked once, by the outermost form's constructor.
    bool TakeFormComing() { return std::exchange(formComing_, false); }
    bool ProcessMessage(MSG& message);
    void DispatchQueuedMessage(MSG& message);
    bool IsKeyMessage(MSG& message);
    void TrackHint(const MSG& message);
    void Idle();
    void RunIdleWork();
    void UpdateMouseControl();
    void UpdateMouseControlAt(POINT point);
    void ShowHintNow();
    void HideHint();
    void TimerFired(UINT_PTR id);
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
    std::unique_ptr<LateBound::TOleLoadAhead> oleLoadAhead_;
    std::vector<std::function<void()>> idleWork_;
    std::string title_;
    TIconHandle icon_;
    TForm* mainForm_ = nullptr;
    std::vector<TForm*> forms_;
    bool terminated_ = false;
    bool formComing_ = false;

    bool showHint_ = true;
    THintWindowClass hintWindowClass_ = nullptr;
    THintWindowClass hintWindowMadeBy_ = nullptr;
    THintWindow* hintWindow_ = nullptr;
    TControl* hintControl_ = nullptr;
    bool hintShowing_ = false;
    int hintPause_ = 500;
    int hintShortPause_ = 50;
    int hintHidePause_ = 2500;

    TControl* mouseControl_ = nullptr;
    HWND focusBeforeMinimize_ = nullptr;
    std::vector<HWND> hiddenByMinimize_;
};

extern TApplication* Application;

// Called from every catch-all around event handling: shows the error in flight.
void HandleUncaughtException(TObject* sender);
// Forgets a control that is going away (hint and pointer tracking).
void ControlDestroyed(TControl* control);
// The control (windowed or graphic) under a point of the screen, among this program's.
TControl* FindControlAtScreenPoint(POINT point);
