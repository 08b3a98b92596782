#pragma once
// The extension blocks a frame can carry. Each writes itself as 0x21, its label and its body,
// and reads itself back from the same bytes.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gif/codec/GifItem.h"

class TGIFSubImage;

class TGIFExtension : public TGIFItem {
public:
    static constexpr uint8_t Introducer = 0x21;

    TGIFExtension(TGIFImageModel* image, TGIFSubImage* frame) : TGIFItem(image), frame_(frame) {}
    TGIFSubImage* SubImage() const { return frame_; }

    virtual uint8_t Label() const = 0;
    TGIFVersion Version() const override { return TGIFVersion::V89a; }
    void SaveToStream(TStream& stream) const override;
    // Reads introducer, label and body. Throws "Invalid extension introducer" or
    // "Internal error: Extension Instance does not match Extension Label".
    void LoadFromStream(TStream& stream);

protected:
    virtual void SaveBody(TStream& stream) const = 0;
    virtual void LoadBody(TStream& stream) = 0;

private:
    TGIFSubImage* frame_;
};

class TGIFGraphicControlExtension : public TGIFExtension {
public:
    static constexpr uint8_t ExtensionLabel = 0xF9;
    using TGIFExtension::TGIFExtension;
    uint8_t Label() const override { return ExtensionLabel; }

    uint8_t BlockSize = 4;
    uint8_t PackedFields = 0;  // bits 4-2 disposal, bit 1 user input, bit 0 transparent
    uint16_t Delay = 0;        // in delay units
    uint8_t TransparentColorIndex = 0;
    uint8_t Terminator = 0;

    int Disposal() const { return (PackedFields >> 2) & 7; }
    void SetDisposal(int disposal);
    bool UserInput() const { return (PackedFields & 2) != 0; }
    bool Transparent() const { return (PackedFields & 1) != 0; }
    void SetTransparent(bool on);
    // Sets the transparent index; one not below the size of the frame's active colour map
    // (when that map has entries) warns "Invalid color index" and uses 0.
    void SetTransparentColor(int index);

protected:
    void SaveBody(TStream& stream) const override;
    void LoadBody(TStream& stream) override;
};

// Lines of text, one per data sub-block.
class TGIFTextLinesExtension : public TGIFExtension {
public:
    using TGIFExtension::TGIFExtension;
    std::vector<std::string> Lines;

protected:
    void SaveLines(TStream& stream) const;
    void LoadLines(TStream& stream);
};

class TGIFCommentExtension : public TGIFTextLinesExtension {
public:
    static constexpr uint8_t ExtensionLabel = 0xFE;
    using TGIFTextLinesExtension::TGIFTextLinesExtension;
    uint8_t Label() const override { return ExtensionLabel; }

protected:
    void SaveBody(TStream& stream) const override;
    void LoadBody(TStream& stream) override;
};

class TGIFTextExtension : public TGIFTextLinesExtension {
public:
    static constexpr uint8_t ExtensionLabel = 0x01;
    using TGIFTextLinesExtension::TGIFTextLinesExtension;
    uint8_t Label() const override { return ExtensionLabel; }

    uint8_t BlockSize = 12;
    uint16_t Left = 0, Top = 0, Width = 0, Height = 0;
    uint8_t CellWidth = 0, CellHeight = 0;
    uint8_t ForegroundColorIndex = 0, BackgroundColorIndex = 0;

protected:
    void SaveBody(TStream& stream) const override;
    void LoadBody(TStream& stream) override;
};

// Size and bytes of one raw data sub-block.
struct TGIFBlock {
    std::vector<uint8_t> Data;
    int Size() const { return static_cast<int>(Data.size()); }
};

class TGIFApplicationExtension : public TGIFExtension {
public:
    static constexpr uint8_t ExtensionLabel = 0xFF;
    using TGIFExtension::TGIFExtension;
    uint8_t Label() const override { return ExtensionLabel; }

    // 8-byte identifier followed by the 3-byte authentication code.
    std::array<char, 11> Identifier{};
    void SetIdentifier(const char (&text)[12]);
    std::string IdentifierText() const { return std::string(Identifier.data(), Identifier.size()); }

protected:
    void SaveBody(TStream& stream) const override;
    void LoadBody(TStream& stream) override;
    // The data sub-blocks after the identifier, up to and including the terminator.
    virtual void SaveData(TStream& stream) const;
    virtual void LoadData(TStream& stream);
};

// The loop extension ("NETSCAPE2.0" or "ANIMEXTS1.0").
class TGIFAppExtNSLoop : public TGIFApplicationExtension {
public:
    TGIFAppExtNSLoop(TGIFImageModel* image, TGIFSubImage* frame);
    uint16_t Loops = 0;       // 0 = for ever
    uint32_t BufferSize = 0;  // 0 = not set

protected:
    void SaveData(TStream& stream) const override;
    void LoadData(TStream& stream) override;
};

// Any other application: its data sub-blocks are kept raw so they can be written back.
class TGIFUnknownAppExtension : public TGIFApplicationExtension {
public:
    using TGIFApplicationExtension::TGIFApplicationExtension;
    std::vector<TGIFBlock> Blocks;

protected:
    void SaveData(TStream& stream) const override;
    void LoadData(TStream& stream) override;
};

class TGIFExtensionList : public TGIFList<TGIFExtension> {
public:
    using TGIFList<TGIFExtension>::TGIFList;
};

// Writes bytes as data sub-blocks of at most 255 bytes; an empty span writes nothing.
void WriteGIFSubBlocks(TStream& stream, const uint8_t* data, size_t size);
// Reads one data sub-block: false at the terminator (size 0) or the end of the stream.
// A sub-block longer than what the stream holds is cut to what remains and sets truncated.
bool ReadGIFSubBlock(TStream& stream, std::vector<uint8_t>& block, bool& truncated);
