#pragma once
// Long work on the window's own thread: the hourglass and a wait text in a status line, shown
// (with whatever else waits to be painted) before the window goes quiet. The cursor comes
// back however the work ends; Finish puts the result in the status line. Work that ends in
// an error puts back what the status line said before: the wait text would claim work still
// running, and the error display reports the failure. No file may be dropped onto the window
// meanwhile.
#include <string>

class TEdit;

class TBusyState {
public:
    TBusyState(TEdit& status, const char* waitText);
    ~TBusyState();
    TBusyState(const TBusyState&) = delete;
    TBusyState& operator=(const TBusyState&) = delete;

    void Finish(const std::string& text);
    // Whether long work runs now; the forms refuse dropped files meanwhile.
    static bool Running() { return running_ > 0; }

private:
    TEdit& status_;
    std::string before_;
    bool finished_ = false;
    static int running_;
};
