#pragma once
// The benchmarks' files: reading one whole, and the photograph they time, made once in their
// work folder with ImageMagick's plasma generator (the same seed, so every run times the same
// picture).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/FileStream.h"

inline std::vector<uint8_t> FileBytes(const std::string& path) {
    TFileStream file(path, TFileMode::OpenRead);
    return file.ReadRemaining();
}

inline std::string MakePhoto(const std::string& folder, int width, int height) {
    std::string path = folder + "/bench-photo-" + std::to_string(width) + "x" + std::to_string(height) + ".jpg";
    if (FILE* existing = std::fopen(path.c_str(), "rb")) {
        std::fclose(existing);
        return path;
    }
    std::printf("making %s with ImageMagick (once)...\n", path.c_str());
    std::string command = "/usr/bin/convert -seed 7 -size " + std::to_string(width) + "x" + std::to_string(height) +
                          " plasma:fractal -blur 0x1 -quality 90 " + path;
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "could not make the photograph\n");
        std::exit(1);
    }
    return path;
}
