#pragma once
// Timing of the native benchmarks: processor time rather than wall time, since the build
// machine is shared and a busy neighbour should not decide a ratio. Child processes (the
// reference tools some benchmarks run) count by their own usage. The Windows build of a race
// counts its own process's time.
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <time.h>
#endif

#include <algorithm>
#include <chrono>
#include <functional>
#include <utility>

inline double ProcessorSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
#else
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    rusage children;
    getrusage(RUSAGE_CHILDREN, &children);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9 +
           static_cast<double>(children.ru_utime.tv_sec + children.ru_stime.tv_sec) +
           static_cast<double>(children.ru_utime.tv_usec + children.ru_stime.tv_usec) * 1e-6;
#endif
}

// The best processor time of several runs.
inline double BestSeconds(const std::function<void()>& run, int repeats) {
    double best = 1e30;
    for (int i = 0; i < repeats; ++i) {
        const double start = ProcessorSeconds();
        run();
        best = std::min(best, ProcessorSeconds() - start);
    }
    return best;
}

// Wall time, for what runs on both cores or in another process: judged by how long the user waits.
inline double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Two runs taking turns round by round, so that a busy moment of a shared machine falls on
// both alike: the best time of each by the given clock.
inline std::pair<double, double> BestInTurn(const std::function<void()>& first, const std::function<void()>& second,
                                            int repeats, double (*clock)() = ProcessorSeconds) {
    std::pair<double, double> best{1e30, 1e30};
    const auto timed = [clock](const std::function<void()>& run) {
        const double start = clock();
        run();
        return clock() - start;
    };
    for (int i = 0; i < repeats; ++i) {
        best.first = std::min(best.first, timed(first));
        best.second = std::min(best.second, timed(second));
    }
    return best;
}

// The best wall time of several runs.
inline double BestWall(const std::function<void()>& run, int repeats) {
    double best = 1e30;
    for (int i = 0; i < repeats; ++i) {
        const double start = WallSeconds();
        run();
        best = std::min(best, WallSeconds() - start);
    }
    return best;
}
