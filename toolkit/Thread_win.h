#pragma once
// Worker threads and the synchronised call: a worker hands a function to the user-interface
// thread and waits until it has run there. The user-interface thread runs pending calls when
// its message loop delivers the wake-up message, or whenever it calls CheckSynchronize (which
// a thread waiting for workers must keep doing, or a worker inside a synchronised call could
// never finish).
#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>

class TThread {
public:
    explicit TThread(bool createSuspended);
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Resume();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Suspended() const { return suspended_; }
    bool Finished() const { return finished_; }
    // Waits for the thread to end (never call it on a self-releasing thread).
    void WaitFor();
    void SetPriority(int priority);
    // Ends the thread outright, dropping its pending synchronised calls (last resort).
    void Kill();
    HANDLE Handle() const { return handle_; }
    DWORD ThreadId() const { return threadId_; }
    // The thread object releases itself when Execute returns.
    bool FreeOnTerminate = false;
    // An exception that left Execute.
    std::exception_ptr FatalException;

protected:
    virtual void Execute() = 0;
    // Runs method on the user-interface thread and waits for it; an exception it raises is
    // raised here. On the user-interface thread itself it simply runs.
    void Synchronize(const std::function<void()>& method);

private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    void CreateSystemThread();

    HANDLE handle_ = nullptr;
    DWORD threadId_ = 0;
    int priority_ = THREAD_PRIORITY_NORMAL;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> suspended_{false};
    std::atomic<bool> finished_{false};
};

// The thread that made the first worker (or called this first): the user-interface thread.
DWORD MainThreadId();
// Runs every pending synchronised call; true when there was one. User-interface thread only.
bool CheckSynchronize();
// Forgets the calls a thread left pending (after it was killed).
void DiscardPendingCalls(DWORD threadId);
// The message-only window that wakes the user-interface thread for synchronised calls
// (nullptr when it could not be made).
HWND SynchronizeWindow();
