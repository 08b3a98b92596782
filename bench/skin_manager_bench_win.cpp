// The skin manager's two costs, run under Wine by scripts/bench.sh:
// - a skin switch as the user makes it (a skin command of the main window, with a second form
//   dressed as well): how long after the manager's 250 ms timer fires every dressed window
//   shows the new skin, painted (target: at most 100 ms);
// - start-up: from process start to the dressed main window shown and painted, against a small
//   plain program that shows one window with a menu and a tab control
//   (bench/startup_reference_win.cpp), taking turns, medians of 21 (target: at most 1.3 times).
// "switch" or "start-up" as the argument runs only that part.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <cstdio>
#include <functional>
#include <vector>

#include "ProcessorName.h"
#include "app/MainForm_win.h"
#include "skin/frame/SkinForm_win.h"
#include "skin/manager/SkinManager_win.h"
#include "toolkit/Application_win.h"

namespace {

constexpr char kManagerTimerClass[] = "TSkinManageTimer";
constexpr int kRounds = 3;
constexpr double kStartUpTarget = 1.3;
constexpr int kStartUpRounds = 21;

double Milliseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void PumpUntil(TApplication& app, const std::function<bool()>& done, DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < milliseconds) {
        app.ProcessMessages();
        Sleep(1);
    }
}

bool IsManagerTimer(const MSG& message) {
    char name[32] = "";
    GetClassNameA(message.hwnd, name, sizeof name);
    return message.message == WM_TIMER && lstrcmpA(name, kManagerTimerClass) == 0;
}

// Paints whatever of every dressed window still waits to be painted, and hands it to the display.
void PaintEverything() {
    for (TSkinForm* skin : TSkinManage::Instance()->SkinnedWindows())
        RedrawWindow(skin->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

std::string BesideThisProgram(const char* relative) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + relative;
}

// Milliseconds from the process's start until its window (class) is shown, carries a window
// region when asked (the skin's outline: dressed) and has painted; the process is ended after.
double TimeStartUp(const std::string& commandLine, const char* windowClass, bool dressed) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = commandLine;
    double start = Milliseconds();
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    double shown = -1;
    HWND window = nullptr;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    while (Milliseconds() - start < 30000) {
        window = FindWindowA(windowClass, nullptr);
        if (window && IsWindowVisible(window) && (!dressed || GetWindowRgn(window, region) != ERROR)) {
            UpdateWindow(window);  // waits until the program has painted what it shows
            shown = Milliseconds() - start;
            break;
        }
        Sleep(1);
    }
    DeleteObject(region);
    // Closed as a user closes it, so that it takes its tray icon with it: a process killed with
    // its windows up holds the next one's start back by more than a second under Wine.
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (!window || WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, 10000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return shown;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int BenchStartUp() {
    std::string program = "\"" + BesideThisProgram("..\\bin\\Tervane.exe") + "\"";
    std::string reference = "\"" + BesideThisProgram("startup_reference_win.exe") + "\"";
    std::vector<double> dressed, plain;
    // 21 starts a side: on a virtual machine one start of the same program may take twice as
    // long as the next, and with eleven the ratio of the same two programs ranged from 1.16 to
    // 1.42 in runs minutes apart. Each start begins on a settled system
    // (the one before it gone and Wine's services done with it), and the two take turns at
    // starting first, so that neither always follows the other.
    for (int round = 0; round < kStartUpRounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            if ((round + turn) % 2 == 0) {
                plain.push_back(TimeStartUp(reference, "TStartupReference", false));
            } else {
                dressed.push_back(TimeStartUp(program, "TVyrfForm1", true));
            }
            Sleep(500);
        }
    }
    if (Median(plain) <= 0 || Median(dressed) <= 0) {
        std::printf("start-up: a window did not show within 30 s\n");
        return 1;
    }
    double ratio = Median(dressed) / Median(plain);
    bool met = ratio <= kStartUpTarget;
    std::printf("start-up: dressed main window %.0f ms, reference window %.0f ms (medians of %d): %.2f times; "
                "target at most %.1f: %s\n", Median(dressed), Median(plain), kStartUpRounds, ratio, kStartUpTarget,
                met ? "met" : "NOT met");
    return met ? 0 : 2;
}

int BenchSkinSwitch();

}  // namespace

int main(int argc, char** argv) {
    const char* only = argc > 1 ? argv[1] : "";
    std::printf("processor: %s\n", ProcessorName().c_str());
    int switchResult = std::strcmp(only, "start-up") == 0 ? 0 : BenchSkinSwitch();
    int startResult = std::strcmp(only, "switch") == 0 ? 0 : BenchStartUp();
    return switchResult != 0 ? switchResult : startResult;
}

namespace {

int BenchSkinSwitch() {
    TApplication app;
    app.Initialize();
    TVyrfForm1* form = app.CreateForm<TVyrfForm1>();
    auto* other = new TForm(&app);
    other->SetClientSize(300, 200);
    other->SetVisible(true);
    form->Show();
    PumpUntil(app, [] { return false; }, 500);

    double timerFired = 0, applied = 0;
    app.OnMessage = [&timerFired](MSG& message, bool&) {
        if (IsManagerTimer(message)) timerFired = Milliseconds();
    };
    form->SkinData1->OnSkinChanged = [&applied](TSkinData&) { applied = Milliseconds(); };
    std::vector<TMenuItem*> items = form->SkinItems();
    std::vector<double> shown;
    for (int round = 0; round < kRounds; ++round) {
        for (TMenuItem* item : items) {
            timerFired = applied = 0;
            item->Click();
            PumpUntil(app, [&applied] { return applied != 0; }, 3000);
            PaintEverything();
            if (timerFired == 0 || applied == 0) {
                std::printf("the re-skin pass did not run\n");
                return 1;
            }
            shown.push_back(Milliseconds() - timerFired);
        }
    }
    std::sort(shown.begin(), shown.end());
    double median = shown[shown.size() / 2];
    // The median judges: a loaded machine may hold up a single switch.
    std::printf("skin switch: %zu windows dressed; new skin on every window %.1f ms (median), %.1f ms (worst) "
                "after the timer fired; target at most 100 ms: %s\n",
                TSkinManage::Instance()->SkinnedWindows().size(), median, shown.back(),
                median <= 100.0 ? "met" : "NOT met");
    delete other;
    TSkinManage::Finalize();
    return median <= 100.0 ? 0 : 2;
}

}  // namespace
