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

HANDLE OpenForReading(const std::string& fileName) {
    TRedirectionOff redirectionOff;
    // Writers are kept out while the file is mapped: a file cut short under the reader would
    // fault it.
    return CreateFileW(Wide(fileName), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TIconGroupFile::TIconGroupFile(const std::string& fileName) {
    file_ = OpenForReading(fileName);
    if (file_ == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER size;
    // A file the address space cannot hold whole is not read; nor is an empty one.
    if (!GetFileSizeEx(file_, &size) || size.QuadPart == 0 || size.QuadPart > 0x7FFFFFFF) return;
    mapping_ = CreateFileMappingW(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping_) return;
    data_ = static_cast<const uint8_t*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
    if (data_) reader_ = TIconGroupReader(data_, static_cast<size_t>(size.QuadPart));
}

TIconGroupFile::~TIconGroupFile() {
    if (data_) UnmapViewOfFile(data_);
    if (mapping_) CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

std::optional<TIconGroup> TIconGroupFile::GroupOfIcon(int index, int count) const {
    if (count <= 0 || reader_.Count() != static_cast<size_t>(count) || index < 0 || index >= count)
        return std::nullopt;
    return reader_.Group(static_cast<size_t>(index));
}
