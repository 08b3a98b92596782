#pragma once
// Reads a stored skin: a 32-bit uncompressed size, then an LZHUF-compressed archive of named
// entries (bitmaps and one settings file).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Streams.h"

namespace SkinArchive {
constexpr int32_t FormatMark = 20000;
constexpr size_t HeaderSize = 16;
constexpr size_t MaxEntries = 1001;
// Far above any real skin (about 1 MB); a larger size word is taken as damage rather than
// decompressed into an allocation of that size.
constexpr int64_t MaxArchiveSize = 16 * 1024 * 1024;
inline constexpr const char* OlderFormatText = "This is Older Skin File\rPlease update to new version !";
}  // namespace SkinArchive

// Entry names compare in lower case: the ASCII letters of a code page 936 text, leaving
// double-byte characters (whose second byte may look like a letter) alone.
std::string SkinLowerCase(const std::string& text);

class TSkinReader {
public:
    // Called with SkinArchive::OlderFormatText when the archive's format mark is wrong.
    std::function<void(const char* message)> OnOlderFormat;

    // Decompresses and indexes an archive; false, with nothing indexed, when it is not a usable
    // skin archive. Only a failure to get memory raises.
    bool Open(const uint8_t* stored, size_t size);
    bool Open(const std::vector<uint8_t>& stored) { return Open(stored.data(), stored.size()); }

    // Copies the entry with this name (compared in lower case) into out, rewound; out is left
    // empty when there is none.
    void ExtractByName(const std::string& name, TMemoryStream& out) const;
    // Copies the first entry whose name contains text into out and returns its name (empty,
    // with out empty, when none does).
    std::string ExtractFirstContaining(const std::string& text, TMemoryStream& out) const;

    const std::vector<std::string>& Names() const { return names_; }
    size_t Count() const { return names_.size(); }

private:
    // Both raise ESkinArchiveError for anything they cannot use.
    static std::vector<uint8_t> Unpack(const uint8_t* stored, size_t size);
    void Index(const std::vector<uint8_t>& archive);
    void Clear();
    void CopyEntry(size_t index, TMemoryStream& out) const;

    std::vector<std::string> names_;
    std::vector<size_t> offsets_;
    std::vector<size_t> sizes_;
    std::vector<uint8_t> data_;
};
