// Files on Windows: CreateFileW (names converted from code page 936, long ones written in full)
// with the sharing the
// program's loads and saves expect.
#include <windows.h>

#include "base/AnsiFileName.h"
#include "base/Exceptions.h"
#include "base/FilePlatform.h"
#include "base/FileStream.h"
#include "toolkit/WideText_win.h"

namespace {
thread_local DWORD lastError = 0;
HANDLE AsHandle(void* handle) { return static_cast<HANDLE>(handle); }

// The name as the file functions take it. A path of MAX_PATH characters or more (a file
// dropped from deep down a folder tree) is refused by them unless written in full with the
// "\\?\" prefix, which takes the path as it stands: so it is made full first.
std::wstring SystemPath(const std::string& fileName) {
    std::wstring wide = WideFromAnsi(fileName);
    if (wide.size() < MAX_PATH || wide.compare(0, 4, L"\\\\?\\") == 0) return wide;
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return wide;
    std::wstring full(needed, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), needed, &full[0], nullptr));
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}
}  // namespace

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : fileName_(fileName) {
    HANDLE file;
    if (mode == TFileMode::Create) {
        file = CreateFileW(SystemPath(fileName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    } else {
        file = CreateFileW(SystemPath(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (file == INVALID_HANDLE_VALUE) {
        lastError = GetLastError();
        const char* pattern = mode == TFileMode::Create ? ErrorText::FCreate : ErrorText::FOpen;
        std::string message = Format(pattern, ExpandFileName(fileName).c_str(), LastSystemErrorText().c_str());
        if (mode == TFileMode::Create) throw EFCreateError(message);
        throw EFOpenError(message);
    }
    handle_ = file;
}

TFileStream::~TFileStream() {
    if (handle_) CloseHandle(AsHandle(handle_));
}

void TFileStream::Close() {
    if (!handle_) return;
    BOOL ok = CloseHandle(AsHandle(handle_));
    handle_ = nullptr;
    if (!ok) throw EWriteError(ErrorText::StreamWrite);
}

size_t TFileStream::Read(void* buffer, size_t count) {
    DWORD done = 0;
    if (!handle_ || !ReadFile(AsHandle(handle_), buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
    return done;
}

size_t TFileStream::Write(const void* buffer, size_t count) {
    DWORD done = 0;
    if (!handle_ || !WriteFile(AsHandle(handle_), buffer, static_cast<DWORD>(count), &done, nullptr)) {
        lastError = GetLastError();
        return done;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    DWORD method = origin == TSeekOrigin::Beginning ? FILE_BEGIN
                   : origin == TSeekOrigin::Current ? FILE_CURRENT
                                                    : FILE_END;
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    if (!handle_ || !SetFilePointerEx(AsHandle(handle_), distance, &result, method)) return -1;
    return result.QuadPart;
}

void TFileStream::SetSize(int64_t newSize) {
    int64_t here = Position();
    Seek(newSize, TSeekOrigin::Beginning);
    if (!SetEndOfFile(AsHandle(handle_))) throw EWriteError(ErrorText::StreamWrite);
    if (here < newSize) Seek(here, TSeekOrigin::Beginning);
}

std::string ExpandFileName(const std::string& fileName) {
    wchar_t full[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(Wide(fileName), MAX_PATH * 2, full, nullptr);
    if (n == 0 || n >= MAX_PATH * 2) return fileName;
    return AnsiFromWide(full, n);
}

std::string LastSystemErrorText() {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, lastError, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result = n && text ? AnsiFromWide(text, n) : std::string();
    if (text) LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

bool FileExists(const std::string& fileName) {
    DWORD attributes = GetFileAttributesW(SystemPath(fileName).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFileIfExists(const std::string& fileName) { return DeleteFileW(SystemPath(fileName).c_str()) != 0; }

bool ReplaceFileWith(const std::string& from, const std::string& to) {
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(SystemPath(from).c_str(), SystemPath(to).c_str(), flags)) return true;
    lastError = GetLastError();
    return false;
}

std::string FolderOf(const std::string& path) { return FolderPart(path); }

unsigned long CurrentProcessNumber() { return GetCurrentProcessId(); }
