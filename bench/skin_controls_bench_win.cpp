// The dressed main window's full repaint (frame, every control, all three pages) against the
// same window plain, and what hovering over a button repaints. Run under Wine by scripts/bench.sh.
#include <windows.h>

#include <cstdio>
#include <functional>

#include "app/MainForm_win.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/manager/SkinManager_win.h"
#include "toolkit/Application_win.h"
#include "ProcessorName.h"

namespace {

double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PumpUntil(TApplication& app, const std::function<bool()>& done, DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < milliseconds) {
        app.ProcessMessages();
        Sleep(2);
    }
}

// Milliseconds one full repaint of every page takes, the median-free mean of `rounds`.
double FullRepaint(TApplication& app, TVyrfForm1& form, int rounds) {
    auto paintAll = [&] {
        for (int page = 0; page < form.PageControl1->PageCount(); ++page) {
            form.PageControl1->SetActivePageIndex(page);
            RedrawWindow(form.Handle(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            GdiFlush();
        }
        app.ProcessMessages();
    };
    paintAll();
    double start = Seconds();
    for (int i = 0; i < rounds; ++i) paintAll();
    return (Seconds() - start) * 1000.0 / rounds;
}

BOOL CALLBACK CountWaiting(HWND child, LPARAM count) {
    if (GetUpdateRect(child, nullptr, FALSE)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The windows of the form (itself included) that wait to be painted.
int WindowsWaitingForPaint(HWND form) {
    int waiting = GetUpdateRect(form, nullptr, FALSE) ? 1 : 0;
    EnumChildWindows(form, &CountWaiting, reinterpret_cast<LPARAM>(&waiting));
    return waiting;
}

}  // namespace

int main() {
    std::printf("processor: %s\n", ProcessorName().c_str());
    TApplication app;
    app.Initialize();
    auto* form = app.CreateForm<TVyrfForm1>();
    TSkinManage* manager = TSkinManage::Instance();
    PumpUntil(app, [&] { return manager && manager->FindSkinnedWindow(form->Handle()); }, 5000);
    if (!manager || !manager->FindSkinnedWindow(form->Handle())) {
        std::printf("the main window was not dressed\n");
        return 1;
    }
    constexpr int kRounds = 40;
    double dressed = FullRepaint(app, *form, kRounds);

    // Hovering over a button: only the button paints (nothing else is invalidated).
    form->PageControl1->SetActivePageIndex(0);
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    int waitingAfterHover = 0;
    double start = Seconds();
    constexpr int kHovers = 200;
    for (int i = 0; i < kHovers; ++i) {
        SendMessageA(form->BitBtn8->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        waitingAfterHover += WindowsWaitingForPaint(form->Handle());
        form->BitBtn8->Perform(CM_MOUSELEAVE);
        waitingAfterHover += WindowsWaitingForPaint(form->Handle());
    }
    double hover = (Seconds() - start) * 1000.0 / (2 * kHovers);

    manager->UnskinWindow(form->Handle());
    app.ProcessMessages();
    double plain = FullRepaint(app, *form, kRounds);

    std::printf("full repaint of all three pages: dressed %.2f ms, plain %.2f ms, ratio %.2f (target <= 2: %s)\n",
                dressed, plain, dressed / plain, dressed / plain <= 2.0 ? "met" : "NOT met");
    std::printf("hover enter or leave over a bitmap button: %.3f ms each; other windows invalidated by it: %d\n",
                hover, waitingAfterHover);
    return dressed / plain <= 2.0 && waitingAfterHover == 0 ? 0 : 2;
}
