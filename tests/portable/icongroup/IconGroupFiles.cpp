#include "IconGroupFiles.h"

#include <algorithm>

namespace {

void Put(TBytes& out, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out.push_back(i < 4 ? static_cast<uint8_t>(value >> (8 * i)) : 0);
}

void PadTo(TBytes& out, size_t size) { out.resize(std::max(out.size(), size)); }

struct TLanguageNode {
    uint16_t language;
    const TBytes* bytes;
};
struct TNameNode {
    uint16_t id;
    std::string name;
    std::vector<TLanguageNode> languages;
};
struct TTypeNode {
    uint16_t type;
    std::vector<TNameNode> names;
};

std::vector<TTypeNode> Tree(const std::vector<TResource>& resources) {
    std::vector<TTypeNode> types;
    for (const TResource& r : resources) {
        auto type = std::find_if(types.begin(), types.end(), [&](const TTypeNode& t) { return t.type == r.type; });
        if (type == types.end()) type = types.insert(types.end(), {r.type, {}});
        auto name = std::find_if(type->names.begin(), type->names.end(),
                                 [&](const TNameNode& n) { return n.id == r.id && n.name == r.name; });
        if (name == type->names.end()) name = type->names.insert(type->names.end(), {r.id, r.name, {}});
        name->languages.push_back({r.language, &r.bytes});
    }
    return types;
}

void PutDirectory(TBytes& out, size_t entries) {
    Put(out, 0, 4), Put(out, 0, 4), Put(out, 0, 4);
    Put(out, 0, 2), Put(out, static_cast<uint32_t>(entries), 2);
}

// The resource section's bytes: directories, data entries, names, then the data.
TBytes ResourceSection(const std::vector<TResource>& resources) {
    const auto types = Tree(resources);
    size_t directories = 16 + 8 * types.size(), leaves = 0, names = 0;
    for (const auto& type : types) {
        directories += 16 + 8 * type.names.size();
        for (const auto& name : type.names) {
            directories += 16 + 8 * name.languages.size();
            leaves += name.languages.size();
            if (!name.id) names += 2 + 2 * name.name.size();
        }
    }
    size_t nextDirectory = 16 + 8 * types.size(), nextLeaf = directories, nextName = directories + 16 * leaves;
    size_t nextData = (nextName + names + 3) & ~size_t{3};
    TBytes out;
    PutDirectory(out, types.size());
    std::vector<std::pair<size_t, TBytes>> pieces;
    for (const auto& type : types) {
        Put(out, type.type, 4), Put(out, 0x80000000u | static_cast<uint32_t>(nextDirectory), 4);
        TBytes typeDirectory;
        PutDirectory(typeDirectory, type.names.size());
        size_t typeAt = nextDirectory;
        nextDirectory += 16 + 8 * type.names.size();
        for (const auto& name : type.names) {
            if (name.id) {
                Put(typeDirectory, name.id, 4);
            } else {
                Put(typeDirectory, 0x80000000u | static_cast<uint32_t>(nextName), 4);
                TBytes text;
                Put(text, static_cast<uint32_t>(name.name.size()), 2);
                for (char c : name.name) Put(text, static_cast<uint8_t>(c), 2);
                pieces.push_back({nextName, text});
                nextName += text.size();
            }
            Put(typeDirectory, 0x80000000u | static_cast<uint32_t>(nextDirectory), 4);
            TBytes nameDirectory;
            PutDirectory(nameDirectory, name.languages.size());
            for (const auto& language : name.languages) {
                Put(nameDirectory, language.language, 4), Put(nameDirectory, static_cast<uint32_t>(nextLeaf), 4);
                TBytes leaf;
                Put(leaf, static_cast<uint32_t>(kResourceAddress + nextData), 4);
                Put(leaf, static_cast<uint32_t>(language.bytes->size()), 4), Put(leaf, 0, 4), Put(leaf, 0, 4);
                pieces.push_back({nextLeaf, leaf});
                pieces.push_back({nextData, *language.bytes});
                nextLeaf += 16;
                nextData = (nextData + language.bytes->size() + 3) & ~size_t{3};
            }
            pieces.push_back({nextDirectory, nameDirectory});
            nextDirectory += nameDirectory.size();
        }
        pieces.push_back({typeAt, typeDirectory});
    }
    PadTo(out, nextData);
    for (const auto& [at, bytes] : pieces) std::copy(bytes.begin(), bytes.end(), out.begin() + at);
    return out;
}

}  // namespace

void PutLE(TBytes& bytes, size_t at, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

TBytes DibImage(uint32_t side, uint16_t bits) {
    TBytes out;
    Put(out, 40, 4), Put(out, side, 4), Put(out, side * 2, 4), Put(out, 1, 2), Put(out, bits, 2);
    PadTo(out, 40 + (bits <= 8 ? 4u << bits : 0) + side * ((side * bits + 31) / 32 * 4 + (side + 31) / 32 * 4));
    return out;
}

TBytes PngImage(uint32_t side, size_t extra) {
    TBytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(side >> (8 * i)));
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(side >> (8 * i)));
    out.resize(out.size() + extra, 0x5A);
    return out;
}

TBytes GroupDirectory(const std::vector<TImageRef>& images) {
    TBytes out;
    Put(out, 0, 2), Put(out, 1, 2), Put(out, static_cast<uint32_t>(images.size()), 2);
    for (const TImageRef& image : images) {
        Put(out, image.side % 256, 1), Put(out, image.side % 256, 1), Put(out, 0, 1), Put(out, 0, 1);
        Put(out, 1, 2), Put(out, image.bits, 2), Put(out, 0, 4), Put(out, image.id, 2);
    }
    return out;
}

TBytes PeFile(const std::vector<TResource>& resources, bool sixtyFourBit) {
    const TBytes section = ResourceSection(resources);
    const uint32_t optionalSize = sixtyFourBit ? 240 : 224;
    TBytes out = {'M', 'Z'};
    PadTo(out, 0x3C);
    Put(out, kPeHeaderAt, 4);
    PadTo(out, kPeHeaderAt);
    out.insert(out.end(), {'P', 'E', 0, 0});
    Put(out, sixtyFourBit ? 0x8664 : 0x14C, 2), Put(out, 1, 2), Put(out, 0, 12), Put(out, optionalSize, 2);
    Put(out, 0x2102, 2);  // a DLL
    const size_t optionalAt = out.size();
    Put(out, sixtyFourBit ? 0x20B : 0x10B, 2);
    const size_t directoriesAt = optionalAt + (sixtyFourBit ? 108 : 92);
    PadTo(out, directoriesAt);
    Put(out, 16, 4);
    PadTo(out, directoriesAt + 4 + 2 * 8);
    Put(out, kResourceAddress, 4), Put(out, static_cast<uint32_t>(section.size()), 4);
    PadTo(out, optionalAt + optionalSize);
    out.insert(out.end(), {'.', 'r', 's', 'r', 'c', 0, 0, 0});
    const uint32_t rawSize = (static_cast<uint32_t>(section.size()) + 0x1FF) & ~0x1FFu;
    Put(out, static_cast<uint32_t>(section.size()), 4), Put(out, kResourceAddress, 4);
    Put(out, rawSize, 4), Put(out, kResourceSectionAt, 4), Put(out, 0, 12), Put(out, 0x40000040, 4);
    PadTo(out, kResourceSectionAt);
    out.insert(out.end(), section.begin(), section.end());
    PadTo(out, kResourceSectionAt + rawSize);
    return out;
}

TBytes NeFile(const std::vector<TNeResource>& resources, uint16_t alignShift) {
    std::vector<uint16_t> types;
    for (const auto& r : resources)
        if (std::find(types.begin(), types.end(), r.type) == types.end()) types.push_back(r.type);
    const size_t tableSize = 2 + 8 * types.size() + 12 * resources.size() + 2;
    const size_t unit = size_t{1} << alignShift;
    size_t dataAt = (kNeResourceTableAt + tableSize + unit - 1) / unit * unit;
    TBytes out = {'M', 'Z'};
    PadTo(out, 0x3C);
    Put(out, kNeHeaderAt, 4);
    PadTo(out, kNeHeaderAt);
    out.insert(out.end(), {'N', 'E'});
    PadTo(out, kNeHeaderAt + 0x24);
    Put(out, kNeResourceTableAt - kNeHeaderAt, 2), Put(out, static_cast<uint32_t>(kNeResourceTableAt - kNeHeaderAt + tableSize), 2);
    PadTo(out, kNeResourceTableAt);
    Put(out, alignShift, 2);
    TBytes data;
    for (uint16_t type : types) {
        auto count = std::count_if(resources.begin(), resources.end(), [&](const auto& r) { return r.type == type; });
        Put(out, type, 2), Put(out, static_cast<uint32_t>(count), 2), Put(out, 0, 4);
        for (const auto& r : resources) {
            if (r.type != type) continue;
            const size_t at = dataAt + data.size();
            const size_t units = (r.bytes.size() + unit - 1) / unit;
            Put(out, static_cast<uint32_t>(at / unit), 2), Put(out, static_cast<uint32_t>(units), 2);
            Put(out, 0x30, 2), Put(out, r.id, 2), Put(out, 0, 4);
            data.insert(data.end(), r.bytes.begin(), r.bytes.end());
            data.resize(data.size() + units * unit - r.bytes.size());
        }
    }
    Put(out, 0, 2);
    PadTo(out, dataAt);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

TBytes IcoFile(const std::vector<TImageRef>& refs, const std::vector<TBytes>& images) {
    TBytes out;
    Put(out, 0, 2), Put(out, 1, 2), Put(out, static_cast<uint32_t>(refs.size()), 2);
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(refs.size());
    for (size_t i = 0; i < refs.size(); ++i) {
        Put(out, refs[i].side % 256, 1), Put(out, refs[i].side % 256, 1), Put(out, 0, 2);
        Put(out, 1, 2), Put(out, refs[i].bits, 2), Put(out, static_cast<uint32_t>(images[i].size()), 4);
        Put(out, offset, 4);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const TBytes& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}
