// Photos the right way up: the EXIF orientation read from every kind of APP1 segment, sound
// or damaged, and the decoded picture turned exactly as ImageMagick's -auto-orient turns it.
#include <gtest/gtest.h>

#include "JpegTestSupport.h"
#include "picture/jpeg/ExifOrientation.h"

namespace {

std::vector<uint8_t> Patched(std::vector<uint8_t> bytes, size_t at, const std::vector<uint8_t>& with) {
    std::copy(with.begin(), with.end(), bytes.begin() + static_cast<ptrdiff_t>(at));
    return bytes;
}

std::vector<uint8_t> CutTo(std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

// A first directory without the tag, whose next-directory link leads to one with it.
std::vector<uint8_t> OrientationInTheSecondDirectory() {
    std::vector<uint8_t> segment = ExifSegment(false, {{0x010F, 2, 4, 0}});
    const std::vector<uint8_t> second = ExifSegment(false, {{0x0112, 3, 1, 6}});
    segment = Patched(segment, 28, {26, 0, 0, 0});  // the link, to the directory appended here
    segment.insert(segment.end(), second.begin() + 14, second.end());
    return segment;
}

struct ReaderCase {
    const char* name;
    std::vector<uint8_t> segment;
    int expected;
};

TEST(ExifOrientationReader, ReadsTheTagOrFallsBackToAsStored) {
    // OrientationSegment(6): "Exif\0\0" at 0, byte order at 6, 42 at 8, directory offset at
    // 10, entry count at 14, the orientation entry at 28..39, the next-directory link at 40.
    const std::vector<uint8_t> sound = OrientationSegment(6);
    const ReaderCase cases[] = {
        {"little-endian", sound, 6},
        {"big-endian", OrientationSegment(3, true), 3},
        {"directory far from the header", ExifSegment(false, {{0x0112, 3, 1, 8}}, 300), 8},
        {"big-endian, among other tags", ExifSegment(true, {{0x0100, 4, 1, 4000}, {0x0112, 3, 1, 5}, {0x0131, 2, 9, 40}}, 17), 5},
        {"every value", OrientationSegment(7, true), 7},
        {"no link to a next directory", CutTo(sound, 40), 6},
        {"no orientation tag", ExifSegment(false, {{0x010F, 2, 4, 0}}), 1},
        {"value 0", OrientationSegment(0), 1},
        {"value 9", OrientationSegment(9, true), 1},
        {"a LONG", ExifSegment(false, {{0x0112, 4, 1, 6}}), 1},
        {"two values", ExifSegment(true, {{0x0112, 3, 2, 6}}), 1},
        {"not EXIF", Patched(sound, 0, {'X', 'M', 'P'}), 1},
        {"unknown byte order", Patched(sound, 6, {'I', 'M'}), 1},
        {"not TIFF", Patched(sound, 8, {43}), 1},
        {"directory past the end", Patched(sound, 10, {44, 0, 0, 0}), 1},
        {"directory offset near 4 GB", Patched(sound, 10, {0xFE, 0xFF, 0xFF, 0xFF}), 1},
        {"directory inside the header", Patched(sound, 10, {4, 0, 0, 0}), 1},
        {"more entries than the segment holds", Patched(sound, 14, {3, 0}), 1},
        {"cut inside the orientation entry", CutTo(sound, 39), 1},
        {"cut inside the header", CutTo(sound, 12), 1},
        {"nothing", {}, 1},
        {"orientation only in the second directory", OrientationInTheSecondDirectory(), 1},
    };
    for (const ReaderCase& c : cases) EXPECT_EQ(ExifOrientation(c.segment.data(), c.segment.size()), c.expected) << c.name;
}

// Decoded rows as blue, green, red samples, looking 8-bit indices up in the palette.
std::vector<uint8_t> DecodedColours(const MemoryDecodeTarget& decoded) {
    std::vector<uint8_t> rows = decoded.PackedRows();
    if (decoded.BitsPerPixel() == 24) return rows;
    std::vector<uint8_t> colours;
    for (uint8_t index : rows) {
        const TJpegColor& c = decoded.Palette().at(index);
        colours.insert(colours.end(), {c.Blue, c.Green, c.Red});
    }
    return colours;
}

TEST(JpegOrientation, DecodesAsImageMagickAutoOrients) {
    ASSERT_TRUE(RunTool("test -x /usr/bin/convert")) << "ImageMagick is needed: scripts/install-deps.sh";
    ScratchFolder scratch("jpeg-orientation");
    const SyntheticPhoto photo = MakeSyntheticPhoto(45, 26);
    TJpegSettings halfSize;
    halfSize.ReductionScale = TJpegReductionScale::Half;
    for (bool grey : {false, true}) {
        TJpegSettings encoding;
        encoding.GrayOutput = grey;
        const std::vector<uint8_t> stored = EncodeToBytes(photo, encoding);
        for (int orientation = 1; orientation <= 8; ++orientation) {
            SCOPED_TRACE((grey ? "grey, orientation " : "orientation ") + std::to_string(orientation));
            const std::vector<uint8_t> jpeg = WithApp1(stored, OrientationSegment(orientation, orientation % 2 == 1));
            WriteBytes(scratch.File("in.jpg"), jpeg);
            ASSERT_TRUE(RunTool("convert " + scratch.File("in.jpg") + " -auto-orient -depth 8 -type TrueColor ppm:" +
                                scratch.File("out.ppm")));
            Netpbm reference = ReadNetpbm(scratch.File("out.ppm"));
            const MemoryDecodeTarget decoded = DecodeBytes(jpeg, {}, orientation % 2 == 0);
            TMemoryStream in(jpeg);
            const TJpegHeader header = ReadJpegHeader(in);
            EXPECT_EQ(header.Orientation, orientation);
            EXPECT_EQ(header.ImageWidth, decoded.Width());
            EXPECT_EQ(header.ImageHeight, decoded.Height());
            TMemoryStream again(jpeg);
            const TJpegHeader halfHeader = ReadJpegHeader(again, TJpegReductionScale::Half);
            const MemoryDecodeTarget half = DecodeBytes(jpeg, halfSize);
            EXPECT_EQ(halfHeader.ScaledWidth, half.Width());
            EXPECT_EQ(halfHeader.ScaledHeight, half.Height());
            ASSERT_EQ(decoded.Width(), reference.width);
            ASSERT_EQ(decoded.Height(), reference.height);
            ASSERT_EQ(decoded.Width(), orientation >= 5 ? 26 : 45);
            ASSERT_EQ(half.Width(), orientation >= 5 ? 13 : 23);
            // libjpeg quantises grey output to 236 levels: a level may be one off.
            EXPECT_LE(LargestDifference(DecodedColours(decoded), RgbToBgr(reference.samples)), grey ? 1 : 0);
        }
    }
}

}  // namespace
