#pragma once
// Counts the bitmaps this executable makes while an object of TBitmapsMade lives, by pointing
// its import table's entries for gdi32's bitmap makers at counting stand-ins (Wine keeps no
// per-process count of GDI objects, and a count of what is left over misses what a piece of
// work makes and frees again). Calls that do not go through this executable's imports, such
// as those the system makes inside its own libraries, are not seen.
#include <windows.h>

#include <cstddef>
#include <vector>

class TBitmapsMade {
public:
    TBitmapsMade() {
        Count() = 0;
        Patch("CreateBitmap", reinterpret_cast<void*>(&MadeBitmap), &Original<0>());
        Patch("CreateBitmapIndirect", reinterpret_cast<void*>(&MadeIndirect), &Original<1>());
        Patch("CreateCompatibleBitmap", reinterpret_cast<void*>(&MadeCompatible), &Original<2>());
        Patch("CreateDIBSection", reinterpret_cast<void*>(&MadeSection), &Original<3>());
        Patch("CreateDIBitmap", reinterpret_cast<void*>(&MadeDIBitmap), &Original<4>());
    }
    ~TBitmapsMade() {
        for (const TPatched& patched : patched_) Write(patched.entry, patched.original);
    }
    TBitmapsMade(const TBitmapsMade&) = delete;
    TBitmapsMade& operator=(const TBitmapsMade&) = delete;

    // Bitmaps made since this object was made (or since Reset); -1 when a maker could not be
    // found in the system (one this executable does not import cannot be called by it).
    int Made() const { return watchedAll_ ? Count() : -1; }
    void Reset() { Count() = 0; }

private:
    struct TPatched {
        void** entry;
        void* original;
    };
    static int& Count() {
        static int count = 0;
        return count;
    }
    template <int N>
    static void*& Original() {
        static void* original = nullptr;
        return original;
    }
    static HBITMAP WINAPI MadeBitmap(int w, int h, UINT planes, UINT bits, const void* data) {
        ++Count();
        return reinterpret_cast<decltype(&CreateBitmap)>(Original<0>())(w, h, planes, bits, data);
    }
    static HBITMAP WINAPI MadeIndirect(const BITMAP* bitmap) {
        ++Count();
        return reinterpret_cast<decltype(&CreateBitmapIndirect)>(Original<1>())(bitmap);
    }
    static HBITMAP WINAPI MadeCompatible(HDC dc, int w, int h) {
        ++Count();
        return reinterpret_cast<decltype(&CreateCompatibleBitmap)>(Original<2>())(dc, w, h);
    }
    static HBITMAP WINAPI MadeSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                      DWORD offset) {
        ++Count();
        return reinterpret_cast<decltype(&CreateDIBSection)>(Original<3>())(dc, info, usage, bits, section, offset);
    }
    static HBITMAP WINAPI MadeDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                                       const BITMAPINFO* info, UINT usage) {
        ++Count();
        return reinterpret_cast<decltype(&CreateDIBitmap)>(Original<4>())(dc, header, init, bits, info, usage);
    }

    static void Write(void** entry, void* value) {
        DWORD old = 0;
        VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &old);
        *entry = value;
        VirtualProtect(entry, sizeof *entry, old, &old);
    }

    // Every import-table entry of this executable that holds gdi32's `name` now holds `stand-in`.
    void Patch(const char* name, void* standIn, void** original) {
        void* target = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("gdi32.dll"), name));
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        auto* headers = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             target && imports.VirtualAddress && module->Name; ++module) {
            for (auto** entry = reinterpret_cast<void**>(base + module->FirstThunk); *entry; ++entry) {
                if (*entry != target) continue;
                *original = target;
                Write(entry, standIn);
                patched_.push_back({entry, target});
            }
        }
        watchedAll_ = watchedAll_ && target != nullptr;
    }

    std::vector<TPatched> patched_;
    bool watchedAll_ = true;
};
