// Listing a file's icon groups against the system's count of its icons (ExtractIcon with index
// -1), on a library with hundreds of icons: opening the file and counting its groups, as the
// icon page's source does it (a few small reads, the file closed after), must cost no more
// than the system's count. Both run in turns, many times; their medians are compared.
// Shown beside: reading the current group with every image it names (what the icon page adds
// to each icon it shows) against the system's extraction of that one icon, stepping through
// the library; reading every group; one whole group written as an .ico file (bytes copied,
// nothing decoded). Usage: icon_groups_bench_win.exe [file]
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ProcessorName.h"
#include "picture/icongroup/IconGroupFile_win.h"

namespace {

constexpr int kRounds = 101;

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Work>
double TimeOnce(Work work) {
    const double start = Seconds();
    work();
    return Seconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string file = argc > 1 ? argv[1] : "C:\\windows\\system32\\shell32.dll";
    const std::wstring wide(file.begin(), file.end());
    UINT systemCount = 0;
    size_t groupCount = 0, images = 0;
    std::vector<double> system, listing, systemIcon, currentGroup, everyGroup;
    auto count = [&] {
        system.push_back(TimeOnce([&] {
            systemCount = static_cast<UINT>(reinterpret_cast<UINT_PTR>(ExtractIconW(nullptr, wide.c_str(), UINT(-1))));
        }));
    };
    auto list = [&] { listing.push_back(TimeOnce([&] { groupCount = TIconGroupFile(file).GroupCount(); })); };
    for (int round = 0; round < kRounds; ++round) {
        // Each goes first every other round.
        if (round % 2) count(), list();
        else list(), count();
    }
    for (int round = 0; round < kRounds && groupCount; ++round) {
        const UINT index = static_cast<UINT>(round % groupCount);
        systemIcon.push_back(TimeOnce([&] { DestroyIcon(ExtractIconW(nullptr, wide.c_str(), index)); }));
        currentGroup.push_back(TimeOnce([&] { TIconGroupFile(file).Group(index); }));
    }
    for (int round = 0; round < 11; ++round) {
        everyGroup.push_back(TimeOnce([&] {
            TIconGroupFile groups(file);
            images = 0;
            for (size_t i = 0; i < groups.GroupCount(); ++i) images += groups.Group(i).images.size();
        }));
    }
    TIconGroupFile groups(file);
    TIconGroup largest;
    for (size_t i = 0; i < groups.GroupCount(); ++i) {
        TIconGroup group = groups.Group(i);
        if (group.images.size() > largest.images.size()) largest = std::move(group);
    }
    std::vector<double> writing;
    size_t written = 0;
    for (int round = 0; !largest.images.empty() && round < kRounds; ++round)
        writing.push_back(TimeOnce([&] { written = WriteIconGroupFile(groups.Data(), largest).size(); }));

    const double systemMedian = Median(system), listingMedian = Median(listing);
    std::printf("processor: %s\n", ProcessorName().c_str());
    std::printf("%s: the system counts %u icons; %zu groups listed, holding %zu images in all\n", file.c_str(),
                systemCount, groupCount, images);
    std::printf("system count (ExtractIcon, -1):          median %.1f us of %d\n", systemMedian * 1e6, kRounds);
    std::printf("listing the groups (open, list):         median %.1f us (%.2f times the count)\n",
                listingMedian * 1e6, listingMedian / systemMedian);
    if (!currentGroup.empty())
        std::printf("one icon: the system's extraction %.1f us; open and read its whole group %.1f us\n",
                    Median(systemIcon) * 1e6, Median(currentGroup) * 1e6);
    std::printf("open and read every group:               median %.1f us\n", Median(everyGroup) * 1e6);
    if (!writing.empty())
        std::printf("one whole group as .ico (%zu images, %zu bytes): median %.1f us\n", largest.images.size(),
                    written, Median(writing) * 1e6);
    const bool met = groupCount == systemCount && listingMedian <= systemMedian;
    std::printf("target (as many groups as icons, listing no slower than the count): %s\n", met ? "met" : "NOT met");
    return 0;
}
