#pragma once
// Helpers for the BMP tests: turning a decoded DIB into plain RGB rows (top row first),
// building BMP files by hand, and running ImageMagick as the independent reference.
#include <cstdint>
#include <string>
#include <vector>

#include "picture/bmp/BmpReader.h"
#include "support/FileBytes.h"

// RGB triples, top row first, as `convert ... rgb:` writes them.
std::vector<uint8_t> DibToRgb(const TDibFormat& format, uint32_t width, uint32_t height,
                              const std::vector<uint8_t>& bits);

// A BMP file with a 40-byte header, the given compression, masks or table, and pixel bytes.
std::vector<uint8_t> HandMadeBmp(uint32_t width, int32_t height, uint16_t bitCount, uint32_t compression,
                                 const std::vector<uint32_t>& masksOrColors, const std::vector<uint8_t>& pixels);

class TScratchFolder {
public:
    TScratchFolder();
    ~TScratchFolder();
    std::string Path(const std::string& name) const { return folder_ + "/" + name; }

private:
    std::string folder_;
};

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// Runs ImageMagick's convert with the arguments; false when it fails.
bool Convert(const std::string& arguments);
// ImageMagick's reading of a picture file as RGB rows.
std::vector<uint8_t> ImageMagickRgb(const TScratchFolder& folder, const std::string& file);
