#pragma once
// The benchmarks' files: reading one whole, and the photograph they time, made once in their
// work folder (make_photo.sh).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/FileStream.h"

inline std::vector<uint8_t> FileBytes(const std::string& path) {
    TFileStream file(path, TFileMode::OpenRead);
    return file.ReadRemaining();
}

// Made by make_photo.sh, which the scripts that run the Windows benchmarks call too.
inline std::string MakePhoto(const std::string& folder, int width, int height) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    std::string path = folder + "/bench-photo-" + size + ".jpg";
    const std::string command = std::string(TERVANE_BENCH_DIR) + "/make_photo.sh " + size + " " + path;
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "could not make the photograph\n");
        std::exit(1);
    }
    return path;
}
