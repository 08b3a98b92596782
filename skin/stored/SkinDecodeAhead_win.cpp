#include "skin/stored/SkinDecodeAhead_win.h"

#include "skin/stored/SkinData_win.h"

namespace {

TSkinDecodeAhead* g_running = nullptr;

}  // namespace

TSkinDecodeAhead::TSkinDecodeAhead(std::vector<uint8_t> skinStream)
    : skinStream_(std::move(skinStream)),
      decoded_(std::make_unique<TSkinData>(TSkinData::DecodingAhead{}, skinStream_)) {
    // The object is made here, on the thread that will use it; the thread only fills it.
    worker_ = std::thread([this] {
        try {
            succeeded_ = decoded_->DecodeSkinStream();
        } catch (...) {
            succeeded_ = false;  // the component decodes it itself and meets the error there
        }
    });
    g_running = this;
}

TSkinDecodeAhead::~TSkinDecodeAhead() {
    if (g_running == this) g_running = nullptr;
    if (worker_.joinable()) worker_.join();
}

std::unique_ptr<TSkinData> TSkinDecodeAhead::Finish() {
    if (worker_.joinable()) worker_.join();
    g_running = nullptr;
    if (!succeeded_) decoded_.reset();
    return std::move(decoded_);
}

std::unique_ptr<TSkinData> TSkinDecodeAhead::Take(const std::vector<uint8_t>& skinStream) {
    if (!g_running || g_running->skinStream_ != skinStream) return nullptr;
    return g_running->Finish();
}
