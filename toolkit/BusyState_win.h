#pragma once
// Long work on the window's own thread: the hourglass and a wait text in a status line, shown
// (with whatever else waits to be painted) before the window goes quiet. The cursor comes
// back however the work ends; Finish puts the result in the status line.
#include <string>

class TEdit;

class TBusyState {
public:
    // What the status line says when the work ends in an error: nothing (the wait text would
    // claim work still running), or the wait text left as it was.
    enum class TOnFailure { ClearStatus, KeepStatus };

    TBusyState(TEdit& status, const char* waitText, TOnFailure onFailure);
    ~TBusyState();
    TBusyState(const TBusyState&) = delete;
    TBusyState& operator=(const TBusyState&) = delete;

    void Finish(const std::string& text);

private:
    TEdit& status_;
    TOnFailure onFailure_;
    bool finished_ = false;
};
