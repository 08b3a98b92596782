#include <gtest/gtest.h>

#include "base/ByteReader.h"
#include "picture/ico/IconDirectory.h"

namespace {

TIconDirEntry Entry(int width, int height, uint16_t colorWord) {
    TIconDirEntry e;
    e.width = static_cast<uint8_t>(width);
    e.height = static_cast<uint8_t>(height);
    e.colorCount = static_cast<uint8_t>(colorWord);
    e.reserved = static_cast<uint8_t>(colorWord >> 8);
    return e;
}

size_t Choose(const std::vector<TIconDirEntry>& entries, uint64_t limit = kUnlimitedColors) {
    return ChooseIconEntry(entries, 32, 32, limit);
}

// An icon file with one 24-bit 2 x 2 image.
std::vector<uint8_t> OneImageIcon() {
    TIconImage image;
    image.format = DibFormatFor(pf24bit);
    image.width = image.height = 2;
    image.colorBits = std::vector<uint8_t>(16, 0x55);
    image.maskBits = std::vector<uint8_t>(8, 0);
    return WriteIconFile(image);
}

std::string ErrorOf(const std::vector<uint8_t>& file) {
    try {
        TIconDirectory directory = ReadIconDirectory(file.data(), file.size());
        if (directory.type == 1) ReadIconImage(file.data(), file.size(), directory.entries[0]);
    } catch (const Exception& error) {
        return error.Message();
    }
    return "(read)";
}

}  // namespace

TEST(IconChoiceTest, SizeNearestTheWantedOneWinsAndLaterEntriesWinTies) {
    EXPECT_EQ(Choose({Entry(16, 16, 16), Entry(32, 32, 16)}), 1u);
    EXPECT_EQ(Choose({Entry(32, 32, 16), Entry(16, 16, 16)}), 0u);
    EXPECT_EQ(Choose({Entry(32, 32, 16), Entry(32, 32, 16)}), 1u);
    // Larger is accepted only when no larger than the best's excess.
    // |16| is no worse than |-16|, but a larger image must not exceed the best's excess.
    EXPECT_EQ(Choose({Entry(16, 16, 16), Entry(48, 48, 16)}), 0u);
    EXPECT_EQ(Choose({Entry(48, 48, 16), Entry(16, 16, 16)}), 1u);
    EXPECT_EQ(Choose({Entry(40, 40, 16), Entry(48, 48, 16)}), 0u);
    // Width and height are judged apart.
    EXPECT_EQ(Choose({Entry(32, 32, 16), Entry(32, 16, 16)}), 0u);
    // A width byte of 0 is 256 pixels: far from 32.
    EXPECT_EQ(Choose({Entry(32, 32, 0), Entry(0, 0, 0)}), 0u);
}

TEST(IconChoiceTest, ColourCountsAreReadAsAWordWithZeroUnlimited) {
    // 16 colours, then 256 colours (stored as 0): the richer one on a true-colour display...
    EXPECT_EQ(Choose({Entry(32, 32, 16), Entry(32, 32, 0)}), 1u);
    // ...but not on a 256-colour display, where 0 is beyond the limit.
    EXPECT_EQ(Choose({Entry(32, 32, 16), Entry(32, 32, 0)}, DisplayColorLimit(8)), 0u);
    // Fewer colours than the best never win, even at a better size.
    EXPECT_EQ(Choose({Entry(16, 16, 0), Entry(32, 32, 16)}), 0u);
    // The reserved byte is the colour word's high byte: 0x0100 = 256 colours.
    EXPECT_EQ(Choose({Entry(32, 32, 16), Entry(32, 32, 0x0100)}, DisplayColorLimit(8)), 1u);
    EXPECT_EQ(Choose({Entry(32, 32, 16), Entry(32, 32, 0x0200)}, DisplayColorLimit(8)), 0u);
}

TEST(IconChoiceTest, DisplayLimitFollowsTheDepth) {
    EXPECT_EQ(DisplayColorLimit(1), 2u);
    EXPECT_EQ(DisplayColorLimit(4), 16u);
    EXPECT_EQ(DisplayColorLimit(8), 256u);
    EXPECT_EQ(DisplayColorLimit(16), kUnlimitedColors);
    EXPECT_EQ(DisplayColorLimit(32), kUnlimitedColors);
}

TEST(IconDirectoryTest, WrittenIconReadsBackWithItsImage) {
    std::vector<uint8_t> file = OneImageIcon();
    TIconDirectory directory = ReadIconDirectory(file.data(), file.size());
    ASSERT_EQ(directory.entries.size(), 1u);
    EXPECT_EQ(directory.entries[0].Width(), 2);
    EXPECT_EQ(directory.entries[0].imageOffset, 22u);
    TIconImage image = ReadIconImage(file.data(), file.size(), directory.entries[0]);
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.colorBits, std::vector<uint8_t>(16, 0x55));
    EXPECT_EQ(image.maskBits, std::vector<uint8_t>(8, 0));
}

TEST(IconDirectoryTest, HostileFilesGiveTheIconError) {
    const std::string invalid = "Icon image is not valid";
    EXPECT_EQ(ErrorOf({0, 0, 2, 0, 1, 0}), invalid) << "cursor";
    EXPECT_EQ(ErrorOf({0, 0, 1, 0, 0, 0}), invalid) << "no entries";
    EXPECT_EQ(ErrorOf({0, 0, 1, 0, 0xFF, 0xFF}), invalid) << "65535 entries in no bytes";
    EXPECT_EQ(ErrorOf({0, 0, 1}), invalid) << "cut header";
    EXPECT_EQ(ErrorOf({0, 0, 0, 0, 0, 0}), "(read)") << "type 0 has no images to read";
    struct Patch {
        size_t offset;
        uint8_t value;
        const char* what;
    } patches[] = {
        {18, 0xFF, "image offset past the end"}, {22, 0x07, "image header size 7"},
        {38, 0x03, "24-bit image with bit fields"}, {36, 0x00, "0 bits per pixel"},
        {30, 0x01, "stored height 1: no room for colour and mask rows"},
        {26, 0x40, "width beyond the data"},
    };
    for (const Patch& p : patches) {
        std::vector<uint8_t> file = OneImageIcon();
        file[p.offset] = p.value;
        EXPECT_EQ(ErrorOf(file), invalid) << p.what;
    }
    std::vector<uint8_t> noMask = OneImageIcon();
    noMask.resize(noMask.size() - 1);
    EXPECT_EQ(ErrorOf(noMask), invalid) << "mask cut short";
    std::vector<uint8_t> png = OneImageIcon();
    png.resize(22);
    png.insert(png.end(), {0x89, 'P', 'N', 'G', 13, 10, 26, 10});
    EXPECT_EQ(ErrorOf(png), invalid) << "compressed image";
}

TEST(IconDirectoryTest, MaskRowsThatA32BitImageLacksComeFromItsAlpha) {
    // 9 x 3 pixels (mask rows of two bytes and padding); pixel x of row y has alpha 0 when
    // x == y, so each row's alpha mask has one bit set. The stored mask is all ones.
    TIconImage source;
    source.format = DibFormatFor(pf32bit);
    source.width = 9;
    source.height = 3;
    for (uint32_t y = 0; y < 3; ++y)
        for (uint32_t x = 0; x < 9; ++x)
            source.colorBits.insert(source.colorBits.end(), {0x10, 0x20, 0x30, uint8_t(x == y ? 0 : 0x80)});
    source.maskBits = std::vector<uint8_t>(12, 0xFF);
    const std::vector<uint8_t> whole = WriteIconFile(source);
    const std::vector<uint8_t> fromAlpha = {0x80, 0, 0, 0, 0x40, 0, 0, 0, 0x20, 0, 0, 0};
    struct Case {
        size_t maskBytesKept;
        size_t rowsFromFile;
    } cases[] = {{12, 3}, {0, 0}, {4, 1}, {7, 1}, {11, 2}};
    for (const Case& c : cases) {
        std::vector<uint8_t> file(whole.begin(), whole.end() - static_cast<long>(12 - c.maskBytesKept));
        file[14] = static_cast<uint8_t>(file.size() - 22);  // the entry stops where the data does
        TIconDirectory directory = ReadIconDirectory(file.data(), file.size());
        TIconImage image = ReadIconImage(file.data(), file.size(), directory.entries[0]);
        std::vector<uint8_t> expected(source.maskBits.begin(), source.maskBits.begin() + c.rowsFromFile * 4);
        expected.insert(expected.end(), fromAlpha.begin() + c.rowsFromFile * 4, fromAlpha.end());
        EXPECT_EQ(image.maskBits, expected) << c.maskBytesKept << " mask bytes kept";
        EXPECT_EQ(image.colorBits, source.colorBits);
    }
    // An alpha channel of all zeros is no alpha channel: the rows the file lacks are opaque.
    for (size_t at = 3; at < source.colorBits.size(); at += 4) source.colorBits[at] = 0;
    std::vector<uint8_t> unmasked = WriteIconFile(source);
    unmasked.resize(unmasked.size() - 12);
    unmasked[14] = static_cast<uint8_t>(unmasked.size() - 22);
    TIconImage opaque = ReadIconImage(unmasked.data(), unmasked.size(), ReadIconDirectory(unmasked.data(), unmasked.size()).entries[0]);
    EXPECT_EQ(opaque.maskBits, std::vector<uint8_t>(12, 0));
    // Colour rows cut short stay refused, mask or no mask.
    std::vector<uint8_t> cut(whole.begin(), whole.end() - 13);
    EXPECT_EQ(ErrorOf(cut), "Icon image is not valid");
}

TEST(IconDirectoryTest, ImageEndsAtItsSizeFieldOrAtTheEndOfTheData) {
    // An overstated size reads up to the end of the data: the whole image, as written.
    std::vector<uint8_t> file = OneImageIcon();
    file[14] = 0xFF;  // bytes in resource: far more than there are
    file[15] = 0xFF;
    TIconDirectory directory = ReadIconDirectory(file.data(), file.size());
    TIconImage image = ReadIconImage(file.data(), file.size(), directory.entries[0]);
    EXPECT_EQ(image.colorBits, std::vector<uint8_t>(16, 0x55));
    EXPECT_EQ(image.maskBits, std::vector<uint8_t>(8, 0));
    // An understated one ends the image there, although the file goes on: the mask is cut.
    std::vector<uint8_t> understated = OneImageIcon();
    understated[14] = static_cast<uint8_t>(understated[14] - 1);
    EXPECT_EQ(ErrorOf(understated), "Icon image is not valid");
}
