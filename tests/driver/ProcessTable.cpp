#include "ProcessTable.h"

#include "DriverProtocol.h"

TProcessTable::~TProcessTable() {
    for (auto& entry : started_) CloseHandle(entry.second);
}

DWORD TProcessTable::Start(const std::string& exe, const std::string& folder, const std::string& arguments) {
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        throw DriverError("CreateProcess failed, error " + std::to_string(GetLastError()));
    CloseHandle(process.hThread);
    started_[process.dwProcessId] = process.hProcess;
    return process.dwProcessId;
}

HANDLE TProcessTable::Open(DWORD processId) {
    auto known = started_.find(processId);
    if (known != started_.end()) return known->second;
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (!process) throw DriverError("no such process: " + std::to_string(processId));
    started_[processId] = process;
    return process;
}

bool TProcessTable::WaitForExit(DWORD processId, DWORD timeoutMs, DWORD& exitCode) {
    HANDLE process = Open(processId);
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process, &exitCode);
    return true;
}

void TProcessTable::Kill(DWORD processId) {
    HANDLE process = Open(processId);
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
}

int TProcessTable::KillAll() {
    int running = 0;
    for (auto& entry : started_) {
        if (WaitForSingleObject(entry.second, 0) == WAIT_OBJECT_0) continue;
        ++running;
        TerminateProcess(entry.second, 1);
        WaitForSingleObject(entry.second, 5000);
    }
    return running;
}
