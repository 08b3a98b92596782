#pragma once
// Debian's giflib as an independent writer and reader of GIF files, to check the reader
// against: what giflib writes must read back as giflib itself reads it.
#include <cstdint>
#include <string>
#include <vector>

#include "support/FileBytes.h"

namespace giftest {

struct PeerFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    int localColors = 0;        // 0: the frame uses the global table
    int transparentIndex = -1;  // -1: no graphic control extension
    int delay = 0, disposal = 0;
    std::vector<uint8_t> pixels;
};

struct PeerImage {
    int width = 0, height = 0;
    int globalColors = 0;
    int loops = -1;  // -1: no loop extension
    std::vector<PeerFrame> frames;
};

// Writes the image with giflib's encoder; an empty result means giflib refused.
std::vector<uint8_t> WriteWithGiflib(const PeerImage& image);
// Reads a file with giflib's DGifSlurp; `ok` false when giflib rejects it.
PeerImage ReadWithGiflib(const std::vector<uint8_t>& bytes, bool& ok);

// Runs a shell command with a time limit; the command and its children are killed after it.
bool RunWithTimeLimit(const std::string& command, int seconds);

}  // namespace giftest
