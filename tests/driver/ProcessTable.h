// The processes the driver started, so that a test can wait for them and end them all.
#pragma once
#include <windows.h>

#include <map>
#include <string>

class TProcessTable {
public:
    ~TProcessTable();
    DWORD Start(const std::string& exe, const std::string& folder, const std::string& arguments);
    // Returns false while the process still runs after timeoutMs; exitCode is set otherwise.
    bool WaitForExit(DWORD processId, DWORD timeoutMs, DWORD& exitCode);
    void Kill(DWORD processId);
    int KillAll();  // the number of processes that were still running

private:
    HANDLE Open(DWORD processId);
    std::map<DWORD, HANDLE> started_;
};
