#pragma once
// Files as streams. Names are the program's own ANSI (code page 936) paths.
#include <functional>
#include <string>

#include "base/Exceptions.h"
#include "base/Streams.h"

enum class TFileMode {
    Create,    // create the file, or empty it if it exists; read and write
    OpenRead,  // open an existing file for reading; other writers are shut out
};

class TFileStream : public TStream {
public:
    // Throws EFOpenError or EFCreateError with the full path and the system's error text.
    TFileStream(const std::string& fileName, TFileMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    const std::string& FileName() const { return fileName_; }
    // Flushes and closes now; throws EWriteError when the data could not be written.
    void Close();

private:
    std::string fileName_;
    void* handle_ = nullptr;  // HANDLE on Windows, FILE* elsewhere
};

// The full path of a file name, as the system resolves it against the working folder.
std::string ExpandFileName(const std::string& fileName);
// The system's text for its last file error, as shown after "Cannot open file ...".
std::string LastSystemErrorText();
bool FileExists(const std::string& fileName);
bool DeleteFileIfExists(const std::string& fileName);

// Writes a file so that a failure never costs the user the file that was there: the data
// goes to a new file in the same folder, which replaces the target only once everything
// was written. On any failure the target is as it was and the new file is removed; the
// error is passed on. A target that cannot be created reports EFCreateError for the target.
void SaveFileSafely(const std::string& fileName, const std::function<void(TStream&)>& write);
