#include "toolkit/Thread_win.h"

#include <deque>
#include <mutex>

#include "base/Exceptions.h"

namespace {

constexpr UINT kWakeMessage = WM_APP + 0x2F0;

struct PendingCall {
    DWORD thread;
    const std::function<void()>* method;
    HANDLE done;
    std::exception_ptr error;
};

struct SyncQueue {
    std::mutex lock;
    std::deque<PendingCall*> calls;
    DWORD mainThread = 0;
    HWND window = nullptr;
};

SyncQueue& Queue() {
    static SyncQueue queue;
    return queue;
}

LRESULT CALLBACK WakeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kWakeMessage) {
        CheckSynchronize();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Called on the user-interface thread before any worker exists.
void EnsureMainThread() {
    SyncQueue& q = Queue();
    if (q.mainThread) return;
    q.mainThread = GetCurrentThreadId();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WakeWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TervaneThreadSync";
    RegisterClassW(&wc);
    q.window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

}  // namespace

DWORD MainThreadId() {
    EnsureMainThread();
    return Queue().mainThread;
}

HWND SynchronizeWindow() {
    EnsureMainThread();
    return Queue().window;
}

bool CheckSynchronize() {
    SyncQueue& q = Queue();
    if (GetCurrentThreadId() != q.mainThread) return false;
    bool ran = false;
    for (;;) {
        PendingCall* call;
        {
            std::lock_guard<std::mutex> guard(q.lock);
            if (q.calls.empty()) return ran;
            call = q.calls.front();
            q.calls.pop_front();
        }
        try {
            (*call->method)();
        } catch (...) {
            call->error = std::current_exception();
        }
        SetEvent(call->done);
        ran = true;
    }
}

void DiscardPendingCalls(DWORD threadId) {
    SyncQueue& q = Queue();
    std::lock_guard<std::mutex> guard(q.lock);
    for (auto it = q.calls.begin(); it != q.calls.end();)
        it = (*it)->thread == threadId ? q.calls.erase(it) : it + 1;
}

TThread::TThread(bool createSuspended) {
    EnsureMainThread();
    suspended_ = true;
    if (!createSuspended) Resume();
}

// The system thread is made on the first resume, so a thread object that is never started
// (or that runs its work on the caller's thread instead) costs no system thread.
void TThread::CreateSystemThread() {
    handle_ = CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &threadId_);
    if (!handle_) throw EThread(ErrorText::ThreadCreation);
    if (priority_ != THREAD_PRIORITY_NORMAL) SetThreadPriority(handle_, priority_);
}

TThread::~TThread() {
    if (handle_ && !finished_ && GetCurrentThreadId() != threadId_) {
        Terminate();
        if (suspended_) Resume();
        WaitForSingleObject(handle_, INFINITE);
    }
    if (handle_) CloseHandle(handle_);
}

void TThread::Resume() {
    if (!suspended_.exchange(false)) return;
    if (!handle_) CreateSystemThread();
    ResumeThread(handle_);
}

void TThread::WaitFor() {
    if (!handle_) return;
    while (WaitForSingleObject(handle_, 10) == WAIT_TIMEOUT)
        if (GetCurrentThreadId() == Queue().mainThread) CheckSynchronize();
}

void TThread::Kill() {
    if (finished_ || !handle_) return;
    TerminateThread(handle_, 1);
    DiscardPendingCalls(threadId_);
    finished_ = true;
}

void TThread::SetPriority(int priority) {
    priority_ = priority;
    if (handle_) SetThreadPriority(handle_, priority);
}

void TThread::Synchronize(const std::function<void()>& method) {
    SyncQueue& q = Queue();
    if (GetCurrentThreadId() == q.mainThread) {
        method();
        return;
    }
    PendingCall call{GetCurrentThreadId(), &method, CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr};
    {
        std::lock_guard<std::mutex> guard(q.lock);
        q.calls.push_back(&call);
    }
    PostMessageW(q.window, kWakeMessage, 0, 0);
    WaitForSingleObject(call.done, INFINITE);
    CloseHandle(call.done);
    if (call.error) std::rethrow_exception(call.error);
}

DWORD WINAPI TThread::ThreadProc(LPVOID param) {
    auto* self = static_cast<TThread*>(param);
    try {
        self->Execute();
    } catch (...) {
        self->FatalException = std::current_exception();
    }
    self->finished_ = true;
    if (self->FreeOnTerminate) delete self;
    return 0;
}
