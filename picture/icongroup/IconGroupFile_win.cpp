#include "picture/icongroup/IconGroupFile_win.h"

#include "toolkit/WideText_win.h"

namespace {

// Turns the file-system redirection of a 32-bit program on a 64-bit Windows off for this
// thread while it lives. Elsewhere (a 32-bit Windows, Windows XP without the functions) it
// does nothing, and costs nothing: the page opens its source for every icon it shows.
class TRedirectionOff {
public:
    TRedirectionOff() { off_ = Switches().disable && Switches().revert && Switches().disable(&state_); }
    ~TRedirectionOff() {
        if (off_) Switches().revert(state_);
    }
    TRedirectionOff(const TRedirectionOff&) = delete;
    TRedirectionOff& operator=(const TRedirectionOff&) = delete;

private:
    struct TSwitches {
        BOOL(WINAPI* disable)(PVOID*) = nullptr;
        BOOL(WINAPI* revert)(PVOID) = nullptr;
    };
    // Looked up once; none where the program does not run under WOW64.
    static const TSwitches& Switches() {
        static const TSwitches switches = [] {
            HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
            TSwitches found;
            auto isWow64 = reinterpret_cast<BOOL(WINAPI*)(HANDLE, PBOOL)>(
                reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
            BOOL underWow64 = FALSE;
            if (!isWow64 || !isWow64(GetCurrentProcess(), &underWow64) || !underWow64) return found;
            found.disable = reinterpret_cast<BOOL(WINAPI*)(PVOID*)>(
                reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
            found.revert = reinterpret_cast<BOOL(WINAPI*)(PVOID)>(
                reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")));
            return found;
        }();
        return switches;
    }

    PVOID state_ = nullptr;
    bool off_ = false;
};

// Closes a handle when it goes.
class THandle {
public:
    explicit THandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~THandle() {
        if (handle_) CloseHandle(handle_);
    }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

HANDLE OpenForReading(const std::string& fileName) {
    TRedirectionOff redirectionOff;
    return CreateFileW(Wide(fileName), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

}  // namespace

// The view keeps the file: once it is mapped, the handles can go. While the view lives the
// file cannot be cut short under the reader.
TIconGroupFile::TIconGroupFile(const std::string& fileName) {
    THandle file(OpenForReading(fileName));
    LARGE_INTEGER size;
    // A file the address space cannot hold whole is not read; nor is an empty one.
    if (!file.Get() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart == 0 || size.QuadPart > 0x7FFFFFFF)
        return;
    THandle mapping(CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (mapping.Get()) data_ = static_cast<const uint8_t*>(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (data_) reader_ = TIconGroupReader(data_, static_cast<size_t>(size.QuadPart));
}

TIconGroupFile::~TIconGroupFile() {
    if (data_) UnmapViewOfFile(data_);
}

std::optional<TIconGroup> TIconGroupFile::GroupOfIcon(int index, int count) const {
    if (count <= 0 || reader_.Count() != static_cast<size_t>(count) || index < 0 || index >= count)
        return std::nullopt;
    return reader_.Group(static_cast<size_t>(index));
}
