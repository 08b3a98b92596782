#include "picture/jpeg/JpegProgressMonitor.h"

TJpegProgressMonitor::TJpegProgressMonitor(const TJpegProgressHandler& handler)
    : handler_(handler), lastReport_(std::chrono::steady_clock::now()) {
    hook_.manager.progress_monitor = OnLibraryProgress;
    hook_.owner = this;
}

void TJpegProgressMonitor::Attach(j_common_ptr info) {
    if (handler_) info->progress = &hook_.manager;
}

void TJpegProgressMonitor::Report(TJpegProgressStage stage, int percent, bool redrawNow) const {
    if (handler_) handler_(stage, percent, redrawNow);
}

void TJpegProgressMonitor::OnLibraryProgress(j_common_ptr info) {
    TJpegProgressMonitor* self = reinterpret_cast<LibraryHook*>(info->progress)->owner;
    auto now = std::chrono::steady_clock::now();
    if (now - self->lastReport_ < Interval) return;
    self->lastReport_ = now;
    const jpeg_progress_mgr& p = self->hook_.manager;
    int passes = p.total_passes > 0 ? p.total_passes : 1;
    double inPass = p.pass_limit > 0 ? static_cast<double>(p.pass_counter) / static_cast<double>(p.pass_limit) : 0.0;
    double done = (p.completed_passes + inPass) / passes;
    int percent = static_cast<int>(done * 100.0);
    self->Report(TJpegProgressStage::Running, percent < 0 ? 0 : percent > 100 ? 100 : percent);
}

void TJpegProgressBracket::Succeeded() {
    ended_ = true;
    monitor_.Report(TJpegProgressStage::Ending, 100);
}

TJpegProgressBracket::~TJpegProgressBracket() {
    if (ended_) return;
    // Already on an error's way out: a listener failing now must not hide that error.
    try {
        monitor_.Report(TJpegProgressStage::Ending, 0);
    } catch (...) {
    }
}
