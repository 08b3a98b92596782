#pragma once
// Debian's libpng as the independent encoder and decoder the PNG tests check against.
#include <cstdint>
#include <vector>

struct LibpngPicture {
    int width = 0, height = 0, bitDepth = 8, colorType = 0;
    bool interlaced = false;
    std::vector<uint8_t> palette;  // red, green, blue triples
    std::vector<uint8_t> trns;     // the tRNS chunk's bytes, as the format lays them out
    std::vector<std::vector<uint8_t>> rows;  // raw rows, samples packed as in the file
};

// The PNG file libpng writes for the picture.
std::vector<uint8_t> LibpngEncode(const LibpngPicture& picture);

// The file as libpng's simplified reader gives it: blue, green, red, alpha, top row first.
// Empty when libpng refuses the file.
std::vector<uint8_t> LibpngDecodeBgra(const std::vector<uint8_t>& file, int& width, int& height);
