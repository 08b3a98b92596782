// skinpack <stored-skin output> <list file>: packs the files named in the list file (one path
// per line, in archive order; each entry is named after its file) into one stored skin.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/skinpack/SkinArchiveWriter.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<TSkinArchiveEntry> ReadEntries(const std::string& listPath) {
    std::ifstream list(listPath);
    if (!list) throw std::runtime_error("cannot read " + listPath);
    std::vector<TSkinArchiveEntry> entries;
    for (std::string line; std::getline(list, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        entries.push_back({BaseName(line), ReadFile(line)});
    }
    return entries;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skinpack <output> <list file>\n");
        return 2;
    }
    try {
        std::vector<uint8_t> stored = WrapStoredSkin(BuildSkinArchive(ReadEntries(argv[2])));
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(stored.data()), static_cast<std::streamsize>(stored.size()));
        if (!out) throw std::runtime_error(std::string("cannot write ") + argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "skinpack: %s\n", error.what());
        return 1;
    }
    return 0;
}
