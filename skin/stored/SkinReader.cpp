#include "skin/stored/SkinReader.h"

#include "base/AnsiFileName.h"
#include "base/ByteReader.h"
#include "base/Exceptions.h"
#include "skin/stored/Lzh.h"

namespace {

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

// Running short of bytes is damage like any other.
int32_t ReadI32(ByteReader& in) { return in.ReadI32LE<ESkinArchiveError>(ErrorText::SkinArchiveDamaged); }
const uint8_t* SkipBytes(ByteReader& in, size_t n) {
    return in.Skip<ESkinArchiveError>(n, ErrorText::SkinArchiveDamaged);
}
void Require(bool sound) {
    if (!sound) throw ESkinArchiveError(ErrorText::SkinArchiveDamaged);
}

}  // namespace

std::string SkinLowerCase(const std::string& text) { return LowerCaseAscii(text); }

bool TSkinReader::Open(const uint8_t* stored, size_t size) {
    Clear();
    try {
        Index(Unpack(stored, size));
        return true;
    } catch (const ESkinArchiveError&) {
        Clear();
        return false;
    }
}

void TSkinReader::Clear() {
    names_.clear();
    offsets_.clear();
    sizes_.clear();
    data_.clear();
}

std::vector<uint8_t> TSkinReader::Unpack(const uint8_t* stored, size_t size) {
    ByteReader sizeWord(stored, size);
    int64_t unpacked = ReadI32(sizeWord);
    Require(unpacked >= static_cast<int64_t>(SkinArchive::HeaderSize) && unpacked <= SkinArchive::MaxArchiveSize);
    return LzhUnpackBuffer(sizeWord.Current(), sizeWord.Remaining(), static_cast<size_t>(unpacked));
}

void TSkinReader::Index(const std::vector<uint8_t>& archive) {
    ByteReader in(archive.data(), archive.size());
    if (ReadI32(in) != SkinArchive::FormatMark) {
        if (OnOlderFormat) OnOlderFormat(SkinArchive::OlderFormatText);
        throw ESkinArchiveError(SkinArchive::OlderFormatText);
    }
    int32_t listLength = ReadI32(in);
    SkipBytes(in, 8);
    Require(listLength >= 0);
    const uint8_t* list = SkipBytes(in, static_cast<size_t>(listLength));
    names_ = SplitLines(SkinLowerCase(std::string(list, list + listLength)));
    Require(names_.size() <= SkinArchive::MaxEntries);
    uint64_t total = 0;
    for (size_t i = 0; i < names_.size(); ++i) {
        int32_t entrySize = ReadI32(in);
        Require(entrySize >= 0);
        offsets_.push_back(static_cast<size_t>(total));
        sizes_.push_back(static_cast<size_t>(entrySize));
        total += static_cast<size_t>(entrySize);
    }
    // Every entry must lie inside the data that follows the size table.
    Require(total <= static_cast<uint64_t>(in.Remaining()));
    data_.assign(in.Current(), in.Current() + in.Remaining());
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
