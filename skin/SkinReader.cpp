#include "skin/SkinReader.h"

#include "skin/Lzh.h"
#include "toolkit/ByteReader.h"

namespace {

bool IsLeadByte(uint8_t byte) { return byte >= 0x81 && byte <= 0xFE; }

// Splits like a string list's text: CR LF, CR or LF end a line; the last line needs none.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

}  // namespace

std::string SkinLowerCase(const std::string& text) {
    std::string lower = text;
    for (size_t i = 0; i < lower.size(); ++i) {
        uint8_t byte = static_cast<uint8_t>(lower[i]);
        if (IsLeadByte(byte) && i + 1 < lower.size()) {
            ++i;
        } else if (byte >= 'A' && byte <= 'Z') {
            lower[i] = static_cast<char>(byte + ('a' - 'A'));
        }
    }
    return lower;
}

bool TSkinReader::Open(const uint8_t* stored, size_t size) {
    names_.clear();
    offsets_.clear();
    sizes_.clear();
    data_.clear();
    if (size < 4) return false;
    ByteReader sizeWord(stored, size);
    int64_t unpacked = sizeWord.ReadI32LE();
    if (unpacked < static_cast<int64_t>(SkinArchive::HeaderSize) || unpacked > SkinArchive::MaxArchiveSize) {
        return false;
    }
    std::vector<uint8_t> archive = LzhUnpackBuffer(stored + 4, size - 4, static_cast<size_t>(unpacked));
    if (!Index(archive)) {
        names_.clear();
        offsets_.clear();
        sizes_.clear();
        data_.clear();
        return false;
    }
    return true;
}

bool TSkinReader::Index(const std::vector<uint8_t>& archive) {
    ByteReader in(archive.data(), archive.size());
    if (in.ReadI32LE() != SkinArchive::FormatMark) {
        if (OnOlderFormat) OnOlderFormat(SkinArchive::OlderFormatText);
        return false;
    }
    int32_t listLength = in.ReadI32LE();
    in.Skip(8);
    if (listLength < 0 || !in.Has(static_cast<size_t>(listLength))) return false;
    const uint8_t* list = in.Skip(static_cast<size_t>(listLength));
    names_ = SplitLines(SkinLowerCase(std::string(list, list + listLength)));
    if (names_.size() > SkinArchive::MaxEntries) return false;
    if (!in.Has(names_.size() * 4)) return false;
    uint64_t total = 0;
    for (size_t i = 0; i < names_.size(); ++i) {
        int32_t entrySize = in.ReadI32LE();
        if (entrySize < 0) return false;
        offsets_.push_back(static_cast<size_t>(total));
        sizes_.push_back(static_cast<size_t>(entrySize));
        total += static_cast<size_t>(entrySize);
    }
    // Every entry must lie inside the data that follows the size table.
    if (total > static_cast<uint64_t>(in.Remaining())) return false;
    data_.assign(in.Current(), in.Current() + in.Remaining());
    return true;
}

void TSkinReader::CopyEntry(size_t index, TMemoryStream& out) const {
    out.Clear();
    if (sizes_[index] > 0) out.WriteBuffer(data_.data() + offsets_[index], sizes_[index]);
    out.SetPosition(0);
}

void TSkinReader::ExtractByName(const std::string& name, TMemoryStream& out) const {
    std::string wanted = SkinLowerCase(name);
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == wanted) {
            CopyEntry(i, out);
            return;
        }
    }
    out.Clear();
}

std::string TSkinReader::ExtractFirstContaining(const std::string& text, TMemoryStream& out) const {
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i].find(text) != std::string::npos) {
            CopyEntry(i, out);
            return names_[i];
        }
    }
    out.Clear();
    return std::string();
}
