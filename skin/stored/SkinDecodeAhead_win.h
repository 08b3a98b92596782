#pragma once
// A stored skin decoded on a thread of its own while the program makes its first windows: the
// two processor cores then share the start-up, and the component that later reads the same bytes
// takes the decoded objects (as it would from a twin) instead of decoding them itself.
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

class TSkinData;

class TSkinDecodeAhead {
public:
    // Starts decoding at once; one at a time per process.
    explicit TSkinDecodeAhead(std::vector<uint8_t> skinStream);
    // Waits for the decoding if nobody took it.
    ~TSkinDecodeAhead();
    TSkinDecodeAhead(const TSkinDecodeAhead&) = delete;
    TSkinDecodeAhead& operator=(const TSkinDecodeAhead&) = delete;

    // The skin decoded ahead when its stored bytes are these and its decoding succeeded (waiting
    // for it to end); nullptr otherwise. Only the first caller gets it.
    static std::unique_ptr<TSkinData> Take(const std::vector<uint8_t>& skinStream);

private:
    std::unique_ptr<TSkinData> Finish();

    std::vector<uint8_t> skinStream_;
    std::unique_ptr<TSkinData> decoded_;
    bool succeeded_ = false;
    std::thread worker_;
};
