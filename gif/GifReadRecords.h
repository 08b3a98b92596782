#pragma once
// What the reader finds in a GIF file, block by block, before it becomes the picture's
// object model: the logical screen, and per frame its extensions, descriptor, local colour
// table and decoded colour indices.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TGifColor {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const TGifColor& o) const { return red == o.red && green == o.green && blue == o.blue; }
};
using TGifColorTable = std::vector<TGifColor>;

struct TGifScreenRecord {
    uint16_t width = 0, height = 0;
    uint8_t packed = 0, background = 0, aspect = 0;
    TGifColorTable globalMap;
};

enum class TGifExtensionKind { GraphicControl, PlainText, Comment, Application, Loop, UnknownApplication };

// The six bytes after the graphic control label, kept as they were read.
struct TGifControlRecord {
    uint8_t blockSize = 4, packed = 0;
    uint16_t delay = 0;
    uint8_t transparentIndex = 0, terminator = 0;

    int Disposal() const { return (packed >> 2) & 7; }
    bool UserInput() const { return (packed & 2) != 0; }
    bool Transparent() const { return (packed & 1) != 0; }
};

struct TGifExtensionRecord {
    TGifExtensionKind kind = TGifExtensionKind::Comment;
    TGifControlRecord control;                 // graphic control
    std::array<uint8_t, 12> textGrid{};        // plain text: grid and cell settings
    std::vector<std::string> lines;            // comment and plain text, one per sub-block
    std::array<char, 8> identifier{};          // application
    std::array<char, 3> authentication{};
    uint16_t loops = 0;                        // loop: 0 plays for ever
    uint32_t bufferSize = 0;
    bool hasBufferSize = false;
    std::vector<std::vector<uint8_t>> blocks;  // application data kept raw

    uint8_t Label() const;
    std::string IdentifierText() const;        // identifier and authentication code, 11 chars
};

struct TGifFrameRecord {
    std::vector<TGifExtensionRecord> extensions;
    int controlIndex = -1;  // the first graphic control extension, which rules the frame
    bool transparent = false;
    bool hasImage = false;
    uint16_t left = 0, top = 0, width = 0, height = 0;
    uint8_t packed = 0;
    TGifColorTable localMap;
    std::vector<uint8_t> pixels;  // width x height colour indices, rows top to bottom

    bool Interlaced() const { return (packed & 0x40) != 0; }
    bool HasLocalMap() const { return (packed & 0x80) != 0; }
    const TGifControlRecord* Control() const {
        return controlIndex < 0 ? nullptr : &extensions[static_cast<size_t>(controlIndex)].control;
    }
    uint8_t TransparentIndex() const { return transparent && Control() ? Control()->transparentIndex : 0; }
};
