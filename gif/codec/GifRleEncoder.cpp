#include "gif/codec/GifRleEncoder.h"

#include <algorithm>

void TRLEEncoder::ForgetRuns() {
    ++generation_;
    longestRun_ = 0;
}

int TRLEEncoder::RunCode(int length) const {
    const size_t i = static_cast<size_t>(length);
    return runStamps_[i] == generation_ ? runCodes_[i] : -1;
}

void TRLEEncoder::Clear() {
    Output(ClearCode);
    CodeSize = InitialCodeSize;
    nextFree_ = ClearCode + 2;
    afterClear_ = true;
    lastColor_ = -1;
    ForgetRuns();
}

void TRLEEncoder::BeginPixels() {
    runColor_ = -1;
    runLength_ = 0;
    tableColor_ = -1;
    Clear();
}

void TRLEEncoder::EncodePixels(const uint8_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const int c = pixels[i];
        if (c >= ColorCount) ColorNotInTable();
        if (c == runColor_) {
            ++runLength_;
            continue;
        }
        if (runLength_ > 0) EmitRun(runColor_, runLength_);
        runColor_ = c;
        runLength_ = 1;
    }
}

void TRLEEncoder::EndPixels() {
    if (runLength_ > 0) EmitRun(runColor_, runLength_);
    runLength_ = 0;
}

void TRLEEncoder::EmitRun(int color, size_t length) {
    if (color != tableColor_) {
        tableColor_ = color;
        ForgetRuns();
    }
    while (length > 0) {
        int code = color, size = 1;
        for (int n = static_cast<int>(std::min<size_t>(length, static_cast<size_t>(longestRun_))); n > 1; --n) {
            int known = RunCode(n);
            if (known >= 0) {
                code = known;
                size = n;
                break;
            }
        }
        // The code the decoder is about to assign stands for the last string plus its own
        // first pixel: one pixel longer than the last run of this colour.
        if (!afterClear_ && lastColor_ == color && static_cast<size_t>(lastLength_) + 1 <= length &&
            lastLength_ + 1 > size) {
            code = nextFree_;
            size = lastLength_ + 1;
        }
        EmitString(code, color, size);
        length -= static_cast<size_t>(size);
    }
}

void TRLEEncoder::EmitString(int code, int color, int length) {
    Output(code);
    if (!afterClear_) {
        // The decoder now enters the last string plus this string's first pixel.
        if (lastColor_ == color && lastLength_ + 1 <= 4096 && RunCode(lastLength_ + 1) < 0) {
            const size_t i = static_cast<size_t>(lastLength_ + 1);
            runCodes_[i] = static_cast<uint16_t>(nextFree_);
            runStamps_[i] = generation_;
            longestRun_ = std::max(longestRun_, lastLength_ + 1);
        }
        ++nextFree_;
        if (nextFree_ >= (1 << CodeSize) && CodeSize < 12) ++CodeSize;
    }
    afterClear_ = false;
    lastColor_ = color;
    lastLength_ = length;
    if (nextFree_ >= TableLimit) Clear();
}
