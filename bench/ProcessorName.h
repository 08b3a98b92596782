#pragma once
// The processor's model name as it names itself (the CPUID brand string), so that figures
// from machines of different processors can be told apart. Shared by the native and the
// Windows benchmarks.
#include <cstring>
#include <string>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <cpuid.h>
#endif

inline std::string ProcessorName() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    unsigned highest = __get_cpuid_max(0x80000000u, nullptr);
    if (highest >= 0x80000004u) {
        unsigned words[12];
        for (unsigned leaf = 0; leaf < 3; ++leaf)
            __get_cpuid(0x80000002u + leaf, &words[leaf * 4], &words[leaf * 4 + 1], &words[leaf * 4 + 2],
                        &words[leaf * 4 + 3]);
        char text[sizeof words + 1] = {};
        std::memcpy(text, words, sizeof words);
        std::string name(text);
        const size_t first = name.find_first_not_of(' ');
        const size_t last = name.find_last_not_of(' ');
        if (first != std::string::npos) return name.substr(first, last - first + 1);
    }
#endif
    return "unknown processor";
}
