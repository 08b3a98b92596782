// The icon group reader on files built here: PE files of both widths with named and numbered
// groups in several languages, an NE icon library and an .ico file, then the same files
// broken in the ways hostile files are; and the .ico file of a whole group.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "IconGroupFiles.h"
#include "base/Exceptions.h"
#include "picture/icongroup/IconGroup.h"

namespace {

constexpr uint16_t kIcon = 3, kGroup = 14, kEnglish = 0x409, kChinese = 0x804;

const TBytes kDib16 = DibImage(16, 4), kDib32 = DibImage(32, 8), kDib48 = DibImage(48, 32);
const TBytes kPng256 = PngImage(256);

// Stored order: the named group, group 5 (English first: its 16 and 32; the Chinese one
// names the 48 alone), then group 2 (the 48 and the 256 PNG).
std::vector<TResource> SampleResources() {
    return {{kGroup, 0, "MAINICON", kEnglish, GroupDirectory({{1, 16, 4}})},
            {kGroup, 5, "", kEnglish, GroupDirectory({{1, 16, 4}, {2, 32, 8}})},
            {kGroup, 5, "", kChinese, GroupDirectory({{3, 48, 32}})},
            {kGroup, 2, "", kEnglish, GroupDirectory({{3, 48, 32}, {4, 256, 32}})},
            {kIcon, 1, "", kEnglish, kDib16},
            {kIcon, 2, "", kEnglish, kDib32},
            {kIcon, 3, "", kEnglish, kDib48},
            {kIcon, 4, "", kEnglish, kPng256}};
}

TBytes SampleNe(uint16_t shift = 4) {
    return NeFile({{0x8003, 0x8001, kDib16}, {0x8003, 0x8002, kDib32}, {0x8003, 0x8004, kPng256},
                   {0x800E, 0x8001, GroupDirectory({{2, 32, 8}, {1, 16, 4}})},
                   {0x800E, 0x8007, GroupDirectory({{4, 256, 32}})}},
                  shift);
}

using TSizes = std::vector<std::vector<uint32_t>>;

TSizes SizesOf(const TBytes& file) {
    TSizes sizes;
    for (const TIconGroup& group : ListIconGroups(file.data(), file.size())) {
        sizes.emplace_back();
        for (const TGroupImage& image : group.images) sizes.back().push_back(StoredImage(file.data(), image).width);
    }
    return sizes;
}

TBytes StoredBytes(const TBytes& file, const TGroupImage& image) {
    const uint8_t* at = file.data() + image.entry.imageOffset;
    return TBytes(at, at + image.entry.bytesInRes);
}

struct TReadCase {
    const char* name;
    TBytes file;
    TSizes sizes;
};

TEST(IconGroupTest, ListsGroupsInTheSystemsOrderWithTheirStoredImages) {
    const TReadCase cases[] = {
        {"PE32", PeFile(SampleResources(), false), {{16}, {16, 32}, {48, 256}}},
        {"PE32+", PeFile(SampleResources(), true), {{16}, {16, 32}, {48, 256}}},
        {"NE library", SampleNe(), {{32, 16}, {256}}},
        {"NE, bytes as units", SampleNe(0), {{32, 16}, {256}}},
        {"ico", IcoFile({{0, 16, 4}, {0, 256, 32}, {0, 48, 32}}, {kDib16, kPng256, kDib48}), {{16, 256, 48}}},
    };
    const std::vector<const TBytes*> expected[] = {{&kDib16}, {&kDib16, &kDib32}, {&kDib48, &kPng256}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SizesOf(c.file), c.sizes);
        if (c.sizes.size() != 3) continue;
        const auto groups = ListIconGroups(c.file.data(), c.file.size());
        for (size_t g = 0; g < 3; ++g)
            for (size_t i = 0; i < expected[g].size(); ++i)
                EXPECT_EQ(StoredBytes(c.file, groups[g].images[i]), *expected[g][i]) << g << "/" << i;
        EXPECT_EQ(StoredImage(c.file.data(), groups[2].images[1]).format, TIconImageFormat::Png);
        EXPECT_EQ(StoredImage(c.file.data(), groups[2].images[0]).format, TIconImageFormat::Dib);
    }
}

// Each hostile file gives what is left of the sample, and nothing outside the file is read
// (the sanitizers watch that).
TEST(IconGroupTest, BrokenFilesLoseOnlyWhatIsBroken) {
    const TBytes pe = PeFile(SampleResources(), false);
    const uint32_t groupTypeEntry = kResourceSectionAt + 16 + 4;  // the root's first entry's target
    // The data entries follow the directories (root 32, groups 40 + 80, icons 48 + 96 bytes):
    // MAINICON, 5 English, 5 Chinese, 2, then icons 1 to 4.
    const uint32_t firstLeaf = kResourceSectionAt + 296;
    TBytes claiming = GroupDirectory({{1, 16, 4}});
    PutLE(claiming, 4, 0xFFFF, 2);
    const TBytes naming = GroupDirectory(std::vector<TImageRef>(0xFFFF, {1, 16, 4}));
    const TBytes ico = IcoFile({{0, 16, 4}, {0, 32, 8}}, {kDib16, kDib32});
    // Forty icons named in reverse (the last ones found through the index), icon 3 the PNG one,
    // and one that is not there.
    std::vector<TResource> many;
    std::vector<TImageRef> reverse;
    std::vector<uint32_t> manySizes;
    for (uint16_t id = 40; id >= 1; --id) {
        many.push_back({kIcon, id, "", 0, id == 3 ? kPng256 : kDib16});
        reverse.push_back({id, 16, 4});
        manySizes.push_back(id == 3 ? 256 : 16);
        if (id == 30) reverse.push_back({99, 16, 4});
    }
    many.insert(many.begin(), {kGroup, 1, "", 0, GroupDirectory(reverse)});
    auto changed = [](TBytes file, std::function<void(TBytes&)> change) { return change(file), file; };
    const TReadCase cases[] = {
        {"group type pointing back at the root", changed(pe, [&](TBytes& f) { PutLE(f, groupTypeEntry, 0x80000000u, 4); }),
         {{}, {}}},
        {"group data past the end", changed(pe, [&](TBytes& f) { PutLE(f, firstLeaf, 0x7FFFFFF0, 4); }),
         {{}, {16, 32}, {48, 256}}},
        {"an image claiming 4 GB", changed(pe, [&](TBytes& f) { PutLE(f, firstLeaf + 4 * 16 + 4, 0xFFFFFFFF, 4); }),
         {{}, {32}, {48, 256}}},
        {"group claiming 65535 images", PeFile({{kGroup, 1, "", 0, claiming}, {kIcon, 1, "", 0, kDib16}}, false),
         {{16}}},
        {"group naming 65535 images", PeFile({{kGroup, 1, "", 0, naming}, {kIcon, 1, "", 0, kDib16}}, true),
         {std::vector<uint32_t>(0xFFFF, 16)}},
        {"group naming forty images", PeFile(many, false), {manySizes}},
        {"group naming a missing image", PeFile({{kGroup, 1, "", 0, GroupDirectory({{9, 16, 4}, {4, 16, 4}})},
                                                 {kIcon, 4, "", 0, kPng256}}, false),
         {{256}}},
        {"cut inside the resources", TBytes(pe.begin(), pe.begin() + firstLeaf + 40), {{}, {}, {}}},
        {"new header past the end", changed(pe, [](TBytes& f) { PutLE(f, 0x3C, 0xFFFFFFF0, 4); }), {}},
        {"PNG image larger than its directory says", PeFile({{kGroup, 1, "", 0, GroupDirectory({{4, 48, 32}})},
                                                             {kIcon, 4, "", 0, kPng256}}, false),
         {{256}}},
        {"NE alignment shift 31", changed(SampleNe(), [](TBytes& f) { PutLE(f, kNeResourceTableAt, 31, 2); }),
         {{}, {}}},
        {"NE alignment shift 40", changed(SampleNe(), [](TBytes& f) { PutLE(f, kNeResourceTableAt, 40, 2); }),
         {{}, {}}},
        {"NE table past the end", changed(SampleNe(), [](TBytes& f) { PutLE(f, kNeHeaderAt + 0x24, 0xFFF0, 2); }), {}},
        {"ico image past the end", changed(ico, [](TBytes& f) { PutLE(f, 6 + 16 + 12, 0xFFFFFF00, 4); }), {{16}}},
        {"ico image longer than the file", changed(ico, [](TBytes& f) { PutLE(f, 6 + 8, 0xFFFFFFFF, 4); }), {{32}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SizesOf(c.file), c.sizes);
    }
}

// The whole group as one .ico file: the stored bytes one after the other behind a new
// directory, which the .ico reader takes back to the same images.
TEST(IconGroupTest, WholeGroupIcoFileAndLargestImage) {
    const TBytes pe = PeFile(SampleResources(), true);
    const auto groups = ListIconGroups(pe.data(), pe.size());
    ASSERT_EQ(groups.size(), 3u);
    const TBytes ico = WriteIconGroupFile(pe.data(), groups[2]);
    EXPECT_EQ(TBytes(ico.begin(), ico.begin() + 6), (TBytes{0, 0, 1, 0, 2, 0}));
    const TIconDirectory directory = ReadIconDirectory(ico.data(), ico.size());
    ASSERT_EQ(directory.entries.size(), 2u);
    EXPECT_EQ(directory.entries[0].imageOffset, 6u + 2 * 16);
    EXPECT_EQ(directory.entries[1].imageOffset, 6u + 2 * 16 + kDib48.size());
    EXPECT_EQ(ico.size(), 6u + 2 * 16 + kDib48.size() + kPng256.size());
    const auto reread = ListIconGroups(ico.data(), ico.size());
    ASSERT_EQ(reread.size(), 1u);
    ASSERT_EQ(reread[0].images.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(StoredBytes(ico, reread[0].images[i]), StoredBytes(pe, groups[2].images[i]));
        EXPECT_EQ(reread[0].images[i].entry.width, groups[2].images[i].entry.width);
        EXPECT_EQ(reread[0].images[i].entry.bitCount, groups[2].images[i].entry.bitCount);
    }

    const TStoredImage largest = LargestImage(pe.data(), groups[2]);
    EXPECT_EQ(largest.format, TIconImageFormat::Png);
    EXPECT_EQ(TBytes(largest.bytes, largest.bytes + largest.size), kPng256);
    EXPECT_EQ(LargestImage(pe.data(), groups[1]).width, 32u);
    EXPECT_EQ(LargestImage(pe.data(), TIconGroup{}).size, 0u);
    EXPECT_EQ(GroupSizes(pe.data(), groups[1]), (std::vector<uint32_t>{16, 32}));
    EXPECT_THROW(WriteIconGroupFile(pe.data(), TIconGroup{}), EInvalidGraphic);
}

// Memory read as a file is: each read and each question of its size counted.
class TCountingSource : public TByteSource {
public:
    TCountingSource(const uint8_t* data, size_t size) : memory_(data, size) {}
    size_t ReadSome(uint64_t offset, uint8_t* out, size_t n) override {
        ++reads;
        const size_t got = memory_.ReadSome(offset, out, n);
        bytesRead += got;
        return got;
    }
    uint64_t Size() override { return ++sizeAsked, memory_.Size(); }
    size_t reads = 0, bytesRead = 0, sizeAsked = 0;

private:
    TMemorySource memory_;
};

// The block buffer gives what the file holds at any offset, however the reads fall on its
// blocks: across a block's end, larger than a block, at and past the file's end.
TEST(IconGroupCountTest, BlockBufferReadsWhatTheFileHolds) {
    TBytes file(37);
    for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i * 7 + 1);
    TMemorySource memory(file.data(), file.size());
    TBlockBuffer buffer(memory, 16);
    const uint64_t far = std::numeric_limits<uint64_t>::max() - 3;
    for (uint64_t offset : {uint64_t{0}, uint64_t{5}, uint64_t{15}, uint64_t{16}, uint64_t{31}, uint64_t{36},
                            uint64_t{37}, uint64_t{40}, far})
        for (size_t n : {0, 1, 2, 11, 16, 17, 40}) {
            TBytes expected(n, 0xEE), got(n, 0xEE);
            const size_t held = memory.ReadSome(offset, expected.data(), n);
            EXPECT_EQ(buffer.ReadSome(offset, got.data(), n), held) << offset << "+" << n;
            EXPECT_EQ(got, expected) << offset << "+" << n;
        }
}

// Counting a file from small reads gives the count of its whole bytes, on every file built
// here cut at every length, whatever the size of the buffer's blocks.
TEST(IconGroupCountTest, CountFromSmallReadsIsTheWholeFilesCount) {
    const TBytes pe = PeFile(SampleResources(), false);
    TBytes claiming = GroupDirectory({{1, 16, 4}});
    const struct {
        const char* name;
        TBytes file;
        size_t count;
    } cases[] = {
        {"PE32", pe, 3},
        {"PE32+", PeFile(SampleResources(), true), 3},
        {"NE library", SampleNe(), 2},
        {"NE, bytes as units", SampleNe(0), 2},
        {"ico", IcoFile({{0, 16, 4}, {0, 48, 32}}, {kDib16, kDib48}), 1},
        // The group directory's third entry cut short: two of its groups remain.
        {"cut inside the group entries", TBytes(pe.begin(), pe.begin() + kResourceSectionAt + 48 + 2 * 8 + 3), 2},
        {"PE naming 65535 images", PeFile({{kGroup, 1, "", 0, GroupDirectory(std::vector<TImageRef>(0xFFFF, {1, 16, 4}))},
                                           {kIcon, 1, "", 0, kDib16}}, true), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TIconGroupReader(c.file.data(), c.file.size()).Count(), c.count);
        const size_t step = c.file.size() > 4096 ? 61 : 1;
        for (size_t length = 0; length <= c.file.size(); length += step) {
            const size_t whole = TIconGroupReader(c.file.data(), length).Count();
            for (size_t blockSize : {1, 7, 4096}) {
                TMemorySource memory(c.file.data(), length);
                TBlockBuffer buffer(memory, blockSize);
                ASSERT_EQ(CountIconGroups(buffer), whole) << "cut at " << length << ", blocks of " << blockSize;
            }
        }
    }
}

// A PE file's count reads its headers and directories alone, in a few blocks, and asks the
// file's size only when the file ends inside the entries counted.
TEST(IconGroupCountTest, CountingAPeFileReadsItsDirectoriesAlone) {
    const TBytes pe = PeFile(SampleResources(), false);
    TCountingSource whole(pe.data(), pe.size());
    TBlockBuffer wholeBuffer(whole, 64);
    EXPECT_EQ(CountIconGroups(wholeBuffer), 3u);
    EXPECT_EQ(whole.sizeAsked, 0u);
    // The MZ and PE headers, the section table, the root and the group directory; no image.
    EXPECT_LE(whole.reads, 8u);
    EXPECT_LE(whole.bytesRead, 8u * 64) << "of " << pe.size();

    TCountingSource cut(pe.data(), kResourceSectionAt + 48 + 2 * 8 + 3);
    TBlockBuffer cutBuffer(cut, 64);
    EXPECT_EQ(CountIconGroups(cutBuffer), 2u);
    EXPECT_EQ(cut.sizeAsked, 1u);
}

}  // namespace
