#pragma once
// Progress reports of encoding and decoding: a start before, reports at most every 500 ms
// while libjpeg works (percent over all of its passes), and an end after (100, or 0 after an
// error). A listener may throw EAbort to stop the work.
#include <chrono>
#include <functional>

#include "picture/jpeg/JpegLib.h"

enum class TJpegProgressStage { Starting, Running, Ending };

// stage, percent done (0..100), and whether a picture worth showing is ready now (after
// each pass of a progressive display).
using TJpegProgressHandler = std::function<void(TJpegProgressStage, int percent, bool redrawNow)>;

class TJpegProgressMonitor {
public:
    explicit TJpegProgressMonitor(const TJpegProgressHandler& handler);
    TJpegProgressMonitor(const TJpegProgressMonitor&) = delete;
    TJpegProgressMonitor& operator=(const TJpegProgressMonitor&) = delete;

    // Hooks the monitor into a compressor or decompressor when anyone listens.
    void Attach(j_common_ptr info);
    void Report(TJpegProgressStage stage, int percent, bool redrawNow = false) const;
    static constexpr std::chrono::milliseconds Interval{500};

private:
    static void OnLibraryProgress(j_common_ptr info);

    struct LibraryHook {
        jpeg_progress_mgr manager;  // first member: libjpeg hands back its address
        TJpegProgressMonitor* owner;
    };
    LibraryHook hook_{};
    const TJpegProgressHandler& handler_;
    std::chrono::steady_clock::time_point lastReport_;
};

// Sends Starting at once, Ending with 100 from Succeeded(), and Ending with 0 when it goes
// out of scope without success (an error or an abort).
class TJpegProgressBracket {
public:
    explicit TJpegProgressBracket(const TJpegProgressMonitor& monitor) : monitor_(monitor) {
        monitor_.Report(TJpegProgressStage::Starting, 0);
    }
    ~TJpegProgressBracket();
    TJpegProgressBracket(const TJpegProgressBracket&) = delete;
    TJpegProgressBracket& operator=(const TJpegProgressBracket&) = delete;
    // Reports the successful end (100).
    void Succeeded();

private:
    const TJpegProgressMonitor& monitor_;
    bool ended_ = false;
};
