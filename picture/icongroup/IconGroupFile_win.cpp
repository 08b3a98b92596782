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

constexpr uint64_t kLargestMappedFile = 0x7FFFFFFF;

HANDLE OpenForReading(const std::string& fileName) {
    TRedirectionOff redirectionOff;
    HANDLE file = CreateFileW(Wide(fileName), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

}  // namespace

// The count comes through a block buffer: the headers and the section table share one block
// of the file, the top of the resource tree one or two more. A file of a PE layout is counted
// without asking its size, which costs the system as much as a read.
TIconGroupFile::TIconGroupFile(const std::string& fileName)
    : file_(OpenForReading(fileName)), source_(file_.get()) {
    if (!file_) return;
    TBlockBuffer buffered(source_);
    count_ = CountIconGroups(buffered);
}

TIconGroupFile::~TIconGroupFile() {
    if (data_) UnmapViewOfFile(data_);
}

// The view is mapped at the size just asked: a file cut short in between cannot be mapped at
// it, and while the view lives the file cannot be cut short under the reader. The reader
// counts the view anew, so that a file changed since it was counted gives no group of
// another. A file the address space cannot map whole gives no group.
const TIconGroupReader& TIconGroupFile::Mapped() const {
    if (reader_) return *reader_;
    reader_.emplace(nullptr, 0);
    const uint64_t size = file_ ? source_.Size() : 0;
    if (size == 0 || size > kLargestMappedFile) return *reader_;
    const std::unique_ptr<void, TCloseHandle> mapping(
        CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, static_cast<DWORD>(size), nullptr));
    if (mapping)
        data_ = static_cast<const uint8_t*>(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, static_cast<SIZE_T>(size)));
    if (data_) reader_.emplace(data_, static_cast<size_t>(size));
    return *reader_;
}

const uint8_t* TIconGroupFile::Data() const {
    Mapped();
    return data_;
}

std::optional<TIconGroup> TIconGroupFile::GroupOfIcon(int index, int count) const {
    if (count <= 0 || count_ != static_cast<size_t>(count) || index < 0 || index >= count) return std::nullopt;
    if (Mapped().Count() != count_) return std::nullopt;
    return Mapped().Group(static_cast<size_t>(index));
}
