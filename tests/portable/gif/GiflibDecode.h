#pragma once
// Decodes GIF bytes with Debian's giflib, an independent reference decoder.
#include <cstdint>
#include <string>
#include <vector>

#include "gif/codec/GifColorMap.h"

struct TDecodedFrame {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Interlaced = false;
    std::vector<TGIFColor> LocalColors;
    std::vector<uint8_t> Pixels;  // de-interlaced, rows top to bottom
};

struct TDecodedGif {
    bool Ok = false;
    std::string Error;
    int ScreenWidth = 0, ScreenHeight = 0;
    std::vector<TGIFColor> GlobalColors;
    std::vector<TDecodedFrame> Frames;
    int ExtensionBlocks = 0;
};

TDecodedGif DecodeWithGiflib(const std::vector<uint8_t>& bytes);
