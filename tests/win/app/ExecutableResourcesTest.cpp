// What the built Tervane.exe carries for the system: its icons (drawn through their masks),
// its version resource, its manifest and the libraries it imports, read back from the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "picture/ico/IconDirectory.h"

namespace {

const std::string kProgram = std::string("Z:") + TERVANE_BINARY_DIR + "/bin/Tervane.exe";

class ProgramModule {
public:
    ProgramModule() : module_(LoadLibraryExA(kProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ProgramModule() { FreeLibrary(module_); }
    HMODULE Get() const { return module_; }

    std::vector<uint8_t> Resource(LPCSTR name, LPCSTR type) const {
        HRSRC found = FindResourceA(module_, name, type);
        if (!found) return {};
        auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module_, found)));
        return std::vector<uint8_t>(bytes, bytes + SizeofResource(module_, found));
    }

private:
    HMODULE module_;
};

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<WORD>*>(names)->push_back(LOWORD(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

bool MaskBit(const TIconImage& image, uint32_t x, uint32_t y) {
    const uint32_t rowBytes = (image.width + 31) / 32 * 4;
    return image.maskBits[y * rowBytes + x / 8] & (0x80 >> (x % 8));
}

// Pixels whose mask bit says transparent but whose colour is not black: drawn as "screen AND
// mask, then XOR colour", they show that colour XOR-ed into the background.
int TransparentPixelsNotBlack(const TIconImage& image, int& transparent) {
    const uint32_t bytesPerPixel = image.format.bitCount / 8;
    const uint32_t rowBytes = (image.width * bytesPerPixel + 3) / 4 * 4;
    int wrong = 0;
    for (uint32_t y = 0; y < image.height; ++y)
        for (uint32_t x = 0; x < image.width; ++x) {
            if (!MaskBit(image, x, y)) continue;
            ++transparent;
            const uint8_t* pixel = image.colorBits.data() + y * rowBytes + x * bytesPerPixel;
            if (pixel[0] || pixel[1] || pixel[2]) ++wrong;
        }
    return wrong;
}

std::string VersionString(const std::vector<uint8_t>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\080403a8\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) return "(none)";
    return value;
}

}  // namespace

TEST(ExecutableResourcesTest, EveryIconHoldsBlackUnderItsTransparentMask) {
    ProgramModule program;
    ASSERT_TRUE(program.Get()) << kProgram;
    std::vector<WORD> names;
    EnumResourceNamesA(program.Get(), RT_ICON, CollectName, reinterpret_cast<LONG_PTR>(&names));
    ASSERT_GE(names.size(), 2u) << "the window icon and the About icon";
    for (WORD name : names) {
        std::vector<uint8_t> data = program.Resource(MAKEINTRESOURCEA(name), RT_ICON);
        TIconDirEntry whole;
        whole.bytesInRes = static_cast<uint32_t>(data.size());
        TIconImage image = ReadIconImage(data.data(), data.size(), whole);
        ASSERT_TRUE(image.format.bitCount == 24 || image.format.bitCount == 32) << "icon " << name;
        int transparent = 0;
        EXPECT_EQ(TransparentPixelsNotBlack(image, transparent), 0) << "icon " << name;
        EXPECT_GT(transparent, 0) << "icon " << name << " has transparent parts";
    }
}

TEST(ExecutableResourcesTest, VersionResourceNamesTheProgramInChinese) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(kProgram.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "a version resource";
    std::vector<uint8_t> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(kProgram.c_str(), 0, size, info.data()));
    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0804) << "Chinese (Simplified, PRC)";
    EXPECT_EQ(translation[1], 936) << "code page 936";
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(VersionString(info, "FileDescription"), "Quorlin图片处理Tervane");
    EXPECT_EQ(VersionString(info, "ProductName"), "Quorlin图片处理Tervane");
    EXPECT_EQ(VersionString(info, "CompanyName"), "Quorlin电脑工作室");
    EXPECT_EQ(VersionString(info, "FileVersion"), "1.0.0.0");
    EXPECT_EQ(VersionString(info, "ProductVersion"), "1.0.0.0");
    EXPECT_EQ(VersionString(info, "OriginalFilename"), "Tervane.exe");
    EXPECT_EQ(VersionString(info, "InternalName"), "Tervane.exe");
    EXPECT_NE(VersionString(info, "LegalCopyright").find("Quorlin电脑工作室"), std::string::npos);
}

TEST(ExecutableResourcesTest, ManifestRunsAsInvokerOnWindows7To11WithClassicControlsAndNoDpiAwareness) {
    ProgramModule program;
    std::vector<uint8_t> bytes = program.Resource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_FALSE(bytes.empty()) << "a manifest";
    const std::string manifest(bytes.begin(), bytes.end());
    for (const char* os : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"{") + os + "}\"/>"), std::string::npos) << os;
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos) << "no common controls 6";
    EXPECT_NE(manifest.find(">false</dpiAware>"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);

    // The system's own reading of it: it parses, and asks for no more rights than the caller's.
    ACTCTXA request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = kProgram.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << GetLastError();
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    SIZE_T written = 0;
    EXPECT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level,
                             &written));
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_FALSE(level.UiAccess);
    ReleaseActCtx(context);
}

namespace {

// The names of the libraries the file's import directory lists, read from the file's bytes.
std::vector<std::string> ImportedLibraries(const std::vector<uint8_t>& file) {
    auto at = [&file](size_t offset) { return file.data() + offset; };
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(at(static_cast<size_t>(dos->e_lfanew)));
    const auto* sections = IMAGE_FIRST_SECTION(nt);
    auto offsetOf = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i)
            if (rva >= sections[i].VirtualAddress && rva < sections[i].VirtualAddress + sections[i].Misc.VirtualSize)
                return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
        return 0;
    };
    std::vector<std::string> names;
    DWORD directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(offsetOf(directory))); entry->Name; ++entry) {
        std::string name = reinterpret_cast<const char*>(at(offsetOf(entry->Name)));
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        names.push_back(name);
    }
    return names;
}

}  // namespace

// The shell, the common dialogs, OLE and the multimedia timer are loaded when first used: loaded
// with the program they cost every start-up time before its first window.
TEST(ExecutableResourcesTest, TheLibrariesUsedNowAndThenAreNotLoadedWithTheProgram) {
    HANDLE file = CreateFileA(kProgram.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<uint8_t> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    ASSERT_EQ(read, bytes.size());
    std::vector<std::string> imported = ImportedLibraries(bytes);
    EXPECT_NE(std::find(imported.begin(), imported.end(), "user32.dll"), imported.end());
    for (const char* late : {"shell32.dll", "comdlg32.dll", "ole32.dll", "winmm.dll"})
        EXPECT_EQ(std::find(imported.begin(), imported.end(), late), imported.end()) << late;
}
