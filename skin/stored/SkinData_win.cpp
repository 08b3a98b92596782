#include "skin/stored/SkinData_win.h"

#include "base/FileStream.h"
#include "base/ProgramTitle.h"
#include "skin/stored/SkinDataEvents_win.h"
#include "skin/stored/SkinReader.h"
#include "skin/stored/SkinStore.h"
#include "skin/stored/SkinStreamProperty.h"
#include "toolkit/WideText_win.h"

namespace {

// The settings file goes to a name of its own in the temporary folder, made by the system
// (which creates the file), so that several programs decoding skins at once never meet on
// the archive entry's name. Deleted however reading it ends. The folder's name stays as the
// system spells it: a user's folder may hold characters no code page of the program has.
class TTemporaryFile {
public:
    TTemporaryFile() {
        wchar_t folder[MAX_PATH + 1] = {};
        DWORD length = GetTempPathW(MAX_PATH + 1, folder);
        if (length == 0 || length > MAX_PATH) return;
        wchar_t path[MAX_PATH + 1] = {};
        if (GetTempFileNameW(folder, L"tsk", 0, path)) path_ = path;
    }
    ~TTemporaryFile() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    // Empty when no file could be made.
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

// The settings go to the file in UTF-16 with its byte-order mark: the system's wide profile
// functions then read them exactly, whatever its code page, where a file of code page 936
// bytes would be read in the system's.
bool WriteProfileText(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    const std::wstring text = L"\xFEFF" + WideFromAnsi(std::string(bytes.begin(), bytes.end()));
    const DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), size, &written, nullptr) && written == size;
    return CloseHandle(file) && ok;
}

void ShowOlderSkinNotice(const char* message) {
    MessageBoxW(GetActiveWindow(), Wide(message), Wide(ProgramText::Title), MB_OK | MB_ICONINFORMATION);
}

}  // namespace

std::function<void(const char*)>& TSkinData::NoticeHandler() {
    static std::function<void(const char*)> handler = ShowOlderSkinNotice;
    return handler;
}

TSkinData::TSkinData(TComponent* owner, bool designing)
    : TComponent(owner), designing_(designing), sharedIcon_(std::make_unique<TBitmap>()) {
    if (designing_) return;
    RegisterLive(true);
    SkinDataEvents::Made(*this);
}

TSkinData::TSkinData(DecodingAhead, const std::vector<uint8_t>& skinStream)
    : TComponent(nullptr), designing_(false), ahead_(true), sharedIcon_(std::make_unique<TBitmap>()) {
    skinStream_.WriteBuffer(skinStream.data(), skinStream.size());
    skinStream_.SetPosition(0);
}

TSkinData::~TSkinData() {
    if (designing_ || ahead_) return;
    RegisterLive(false);
    SkinDataEvents::Gone(*this);
}

std::string TSkinData::SkinStore() const { return designing_ && !skinStream_.Bytes().empty() ? "(Good)" : "(none)"; }

void TSkinData::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (designing_ || reading_ || SkinFormtype != sfMainform) return;
    if (value && notReady_) return;
    SkinDataEvents::ActivationPosted(value);
}

void TSkinData::SetSkinFile(const std::string& name) {
    notReady_ = true;
    skinFile_ = name;
    if (designing_) {
        if (!name.empty()) skinStream_.Clear();
        return;
    }
    if (name.empty() || !FileExists(name)) return;
    skinStream_.Clear();
    if (ReadStoredSkinFile(name)) DecodeSkinStream();
    Announce();
}

// A file that cannot be read, or is larger than any archive the reader accepts, leaves the
// skin stream empty (the component stays not ready).
bool TSkinData::ReadStoredSkinFile(const std::string& name) {
    try {
        TFileStream file(name, TFileMode::OpenRead);
        if (file.Size() > SkinArchive::MaxArchiveSize) return false;
        skinStream_.CopyFrom(file, 0);
        skinStream_.SetPosition(0);
        return true;
    } catch (const Exception&) {
        skinStream_.Clear();
        return false;
    }
}

void TSkinData::ReadSkinStream(TStream& source) {
    ReadSkinStreamProperty(source, skinStream_);
    if (!designing_) DecodeSkinStream();
}

void TSkinData::WriteSkinStream(TStream& target) const { WriteSkinStreamProperty(target, skinStream_); }

void TSkinData::Loaded() {
    if (designing_ || !active_) return;
    if (notReady_) {
        active_ = false;
        return;
    }
    SkinDataEvents::ActivationPosted(true);
}

void TSkinData::LoadSkinFromStore(TSkinStore& store, int index) {
    if (index < 0 || index >= store.Store().Count()) return;
    notReady_ = true;
    skinStream_.Clear();
    TMemoryStream& data = store.Store().Items(index).DataStream();
    data.SetPosition(0);
    skinStream_.CopyFrom(data, data.Size());
    skinStream_.SetPosition(0);
    DecodeSkinStream();
    Announce();
}

void TSkinData::Announce() {
    if (designing_ || reading_ || SkinFormtype != sfMainform) return;
    SkinDataEvents::SkinChanged(*this);
}

bool TSkinData::DecodeSkinStream() {
    notReady_ = true;
    if (designing_) return false;
    // Bytes decoded before were opened without a notice (an older archive is never decoded), so
    // they need not be unpacked again to find out.
    if (!ahead_ && TakeDecodedSkin()) return true;
    TSkinReader reader;
    if (!ahead_) {
        reader.OnOlderFormat = [](const char* message) {
            if (NoticeHandler()) NoticeHandler()(message);
        };
    }
    if (!reader.Open(skinStream_.Bytes())) return false;
    TMemoryStream entry;
    if (reader.ExtractFirstContaining(".ini", entry).empty()) return false;
    TTemporaryFile settings;
    if (settings.Path().empty() || !WriteProfileText(settings.Path(), entry.Bytes())) return false;
    reader_ = &reader;
    try {
        ReadSettingsFile(settings.Path());
    } catch (...) {
        reader_ = nullptr;
        if (!ahead_) SkinDataEvents::PicturesReplaced(*this);
        throw;
    }
    reader_ = nullptr;
    if (!ahead_) SkinDataEvents::PicturesReplaced(*this);
    return true;
}
