// The native build's files: stdio and POSIX calls.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/Exceptions.h"
#include "base/FilePlatform.h"
#include "base/FileStream.h"

namespace {
thread_local int lastError = 0;
FILE* AsFile(void* handle) { return static_cast<FILE*>(handle); }
}  // namespace

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : fileName_(fileName) {
    FILE* file = std::fopen(fileName.c_str(), mode == TFileMode::Create ? "w+b" : "rb");
    if (!file) {
        lastError = errno;
        const char* pattern = mode == TFileMode::Create ? ErrorText::FCreate : ErrorText::FOpen;
        std::string message = Format(pattern, ExpandFileName(fileName).c_str(), LastSystemErrorText().c_str());
        if (mode == TFileMode::Create) throw EFCreateError(message);
        throw EFOpenError(message);
    }
    handle_ = file;
}

TFileStream::~TFileStream() {
    if (handle_) std::fclose(AsFile(handle_));
}

void TFileStream::Close() {
    if (!handle_) return;
    int flushed = std::fflush(AsFile(handle_));
    int closed = std::fclose(AsFile(handle_));
    handle_ = nullptr;
    if (flushed != 0 || closed != 0) throw EWriteError(ErrorText::StreamWrite);
}

size_t TFileStream::Read(void* buffer, size_t count) {
    return handle_ ? std::fread(buffer, 1, count, AsFile(handle_)) : 0;
}

size_t TFileStream::Write(const void* buffer, size_t count) {
    return handle_ ? std::fwrite(buffer, 1, count, AsFile(handle_)) : 0;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    int whence = origin == TSeekOrigin::Beginning ? SEEK_SET : origin == TSeekOrigin::Current ? SEEK_CUR : SEEK_END;
    if (!handle_ || fseeko(AsFile(handle_), offset, whence) != 0) return -1;
    return ftello(AsFile(handle_));
}

void TFileStream::SetSize(int64_t newSize) {
    if (!handle_) return;
    std::fflush(AsFile(handle_));
    if (ftruncate(fileno(AsFile(handle_)), newSize) != 0) throw EWriteError(ErrorText::StreamWrite);
}

std::string ExpandFileName(const std::string& fileName) {
    if (!fileName.empty() && fileName[0] == '/') return fileName;
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) return fileName;
    return std::string(cwd) + "/" + fileName;
}

std::string LastSystemErrorText() { return std::strerror(lastError); }

bool FileExists(const std::string& fileName) {
    struct stat info;
    return stat(fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DeleteFileIfExists(const std::string& fileName) { return std::remove(fileName.c_str()) == 0; }

bool ReplaceFileWith(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    lastError = errno;
    return false;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

unsigned long CurrentProcessNumber() { return static_cast<unsigned long>(getpid()); }
