#include "ProcessTiming.h"

#include <tlhelp32.h>

#include <algorithm>

#include "DriverProtocol.h"
#include "WindowSearch.h"

namespace {

long long Microseconds(const FILETIME& time) {
    return static_cast<long long>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
           10;
}

// User plus kernel time from GetProcessTimes or GetThreadTimes; -1 when refused.
template <typename TGetTimes>
long long TimesOf(HANDLE handle, TGetTimes getTimes) {
    FILETIME created, exited, kernel, user;
    if (!getTimes(handle, &created, &exited, &kernel, &user)) return -1;
    return Microseconds(kernel) + Microseconds(user);
}

long long ThreadMicroseconds(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) throw DriverError("no thread snapshot");
    long long total = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        if (HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID)) {
            total += std::max(0LL, TimesOf(thread, GetThreadTimes));
            CloseHandle(thread);
        }
    }
    CloseHandle(snapshot);
    return total;
}

bool Shown(HWND window) { return IsWindow(window) && IsWindowVisible(window); }

}  // namespace

long long NowMicroseconds() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return now.QuadPart / frequency.QuadPart * 1000000 + now.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

long long ProcessorMicroseconds(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (!process) throw DriverError("no such process: " + std::to_string(processId));
    const long long times = TimesOf(process, GetProcessTimes);
    CloseHandle(process);
    // Windows counts threads that have ended too; Wine's figure for another process is no
    // more than a token, below the sum over its threads.
    return std::max(times, ThreadMicroseconds(processId));
}

TPressTiming TimeButtonPress(HWND button, HWND status, const std::string& prefix, DWORD processId, DWORD timeoutMs) {
    HWND dialog = GetAncestor(button, GA_ROOT);
    const long long startWall = NowMicroseconds(), startProcessor = ProcessorMicroseconds(processId);
    const long long deadline = startWall + static_cast<long long>(timeoutMs) * 1000;
    if (!PostMessageA(button, BM_CLICK, 0, 0)) throw DriverError("PostMessage failed");
    while (Shown(dialog)) {
        if (NowMicroseconds() > deadline) throw DriverError("the dialog stayed open");
        Sleep(1);
    }
    const long long closeWall = NowMicroseconds(), closeProcessor = ProcessorMicroseconds(processId);
    // The status window answers only once the program is free again: each read waits for it.
    while (WindowText(status).compare(0, prefix.size(), prefix) != 0) {
        if (NowMicroseconds() > deadline) throw DriverError("the status text did not come in time");
        Sleep(1);
    }
    TPressTiming timing;
    timing.resultWall = NowMicroseconds() - closeWall;
    timing.resultProcessor = ProcessorMicroseconds(processId) - closeProcessor;
    timing.closeWall = closeWall - startWall;
    timing.closeProcessor = closeProcessor - startProcessor;
    return timing;
}

long long RedrawMicroseconds(HWND window) {
    const long long start = NowMicroseconds();
    if (!RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW))
        throw DriverError("RedrawWindow failed");
    return NowMicroseconds() - start;
}
