// The reader against Debian's giflib: files written by giflib and by ImageMagick must read
// back to exactly the colour indices, frames and control blocks that giflib reads.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "GifTestBuilder.h"
#include "GiflibPeer.h"

using namespace giftest;

namespace {

void ExpectSameAsGiflib(const std::vector<uint8_t>& bytes, const std::string& name) {
    SCOPED_TRACE(name);
    bool ok = false;
    PeerImage peer = ReadWithGiflib(bytes, ok);
    ASSERT_TRUE(ok) << "giflib rejects the file";
    Loaded ours = Load(bytes);
    ASSERT_EQ(ours.error, "");
    EXPECT_EQ(ours.image->Width(), peer.width);
    EXPECT_EQ(ours.image->Height(), peer.height);
    EXPECT_EQ(ours.image->Header.ColorMap.Count(), peer.globalColors);
    std::vector<const TGIFSubImage*> images;
    for (const auto& f : ours.image->Images)
        if (!f->Empty()) images.push_back(f.get());
    ASSERT_EQ(images.size(), peer.frames.size());
    for (size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        const TGIFSubImage& f = *images[i];
        const PeerFrame& p = peer.frames[i];
        EXPECT_EQ(f.Left(), p.left);
        EXPECT_EQ(f.Top(), p.top);
        EXPECT_EQ(f.Width(), p.width);
        EXPECT_EQ(f.Height(), p.height);
        EXPECT_EQ(f.Interlaced(), p.interlaced);
        EXPECT_EQ(f.ColorMap.Count(), p.localColors);
        EXPECT_TRUE(f.Data == p.pixels) << "colour indices differ";
        if (const TGIFGraphicControlExtension* control = f.GraphicControlExtension) {
            EXPECT_EQ(f.Transparent ? control->TransparentColorIndex : -1, p.transparentIndex);
            EXPECT_EQ(control->Delay, p.delay);
            EXPECT_EQ(control->Disposal(), p.disposal);
        }
    }
    EXPECT_TRUE(ours.warnings.empty()) << ours.warnings.front();
}

PeerFrame MakeFrame(int left, int top, int width, int height, int colors, uint32_t seed) {
    PeerFrame f;
    f.left = left, f.top = top, f.width = width, f.height = height;
    f.pixels = NoisePixels(static_cast<size_t>(width) * static_cast<size_t>(height), colors, seed);
    return f;
}

TEST(GifConformance, FilesWrittenByGiflib) {
    struct Size {
        int w, h;
    };
    const Size sizes[] = {{1, 1}, {7, 13}, {257, 3}, {3, 257}, {100, 61}, {512, 300}};
    const int colorCounts[] = {2, 4, 16, 128, 256};
    uint32_t seed = 1;
    for (const Size& s : sizes) {
        for (int colors : colorCounts) {
            for (bool interlaced : {false, true}) {
                PeerImage image;
                image.width = s.w, image.height = s.h;
                image.globalColors = colors;
                PeerFrame f = MakeFrame(0, 0, s.w, s.h, colors, seed++);
                f.interlaced = interlaced;
                if (seed % 3 == 0) f.transparentIndex = colors - 1, f.delay = 4;
                image.frames.push_back(f);
                auto bytes = WriteWithGiflib(image);
                ASSERT_FALSE(bytes.empty());
                std::string name = std::to_string(s.w) + "x" + std::to_string(s.h) + " colours " +
                                   std::to_string(colors) + (interlaced ? " interlaced" : "");
                ExpectSameAsGiflib(bytes, name);
                // And it is what was written.
                Loaded ours = Load(bytes);
                ASSERT_EQ(ours.Frames(), 1);
                EXPECT_TRUE(ours.Frame(0).Data == f.pixels) << name;
            }
        }
    }
}

TEST(GifConformance, AnimatedFilesWithLocalTablesWrittenByGiflib) {
    PeerImage image;
    image.width = 120, image.height = 90;
    image.globalColors = 64;
    image.loops = 3;
    for (int i = 0; i < 6; ++i) {
        PeerFrame f = MakeFrame(i * 7, i * 5, 120 - i * 11, 90 - i * 9, i % 2 ? 32 : 64, 100u + static_cast<uint32_t>(i));
        f.localColors = i % 2 ? 32 : 0;
        f.interlaced = i == 3;
        f.delay = 1 + i * 3;
        f.disposal = i % 4;
        f.transparentIndex = i == 4 ? 5 : -1;
        image.frames.push_back(f);
    }
    auto bytes = WriteWithGiflib(image);
    ASSERT_FALSE(bytes.empty());
    ExpectSameAsGiflib(bytes, "animated");
    Loaded ours = Load(bytes);
    ASSERT_EQ(ours.Frames(), 6);
    ASSERT_EQ(ours.Frame(0).Extensions.Count(), 2);  // loop and control
    auto* loop = ExtensionAt<TGIFAppExtNSLoop>(ours.Frame(0), 0);
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->Loops, 3);
    EXPECT_EQ(ours.Frame(0).GraphicControlExtension, &ours.Frame(0).Extensions[1]);
}

class ImageMagickCorpus : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("tervane-gif-conformance-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

TEST_F(ImageMagickCorpus, FilesWrittenByImageMagick) {
    if (!RunWithTimeLimit("command -v convert", 10)) GTEST_SKIP() << "ImageMagick is not installed";
    const std::pair<const char*, const char*> recipes[] = {
        {"plasma.gif", "-seed 1 -size 61x37 plasma: -colors 200"},
        {"interlaced.gif", "-seed 2 -size 97x45 plasma: -colors 100 -interlace GIF"},
        {"transparent.gif",
         "-size 40x30 xc:white -fill red -draw \"circle 20,15 20,5\" -transparent white"},
        {"animated.gif",
         "-delay 7 -loop 3 -dispose Background -page 33x21+0+0 -size 33x21 xc:red -page +5+3 -size 10x7 xc:blue "
         "-seed 3 -page +20+10 -size 8x8 plasma: -dispose Previous -page +1+1 -size 5x5 xc:yellow"},
        {"bilevel.gif", "-size 17x9 pattern:checkerboard -monochrome"},
        {"one.gif", "-size 1x1 xc:green"},
        {"wide.gif", "-seed 4 -size 641x3 plasma: -colors 7"},
        {"tall-interlaced.gif", "-seed 5 -size 3x333 plasma: -interlace GIF"},
        {"photo.gif", "-seed 6 -size 400x300 plasma: -interlace GIF"},
    };
    for (const auto& [name, options] : recipes) {
        std::string path = (folder_ / name).string();
        ASSERT_TRUE(RunWithTimeLimit(std::string("convert ") + options + " " + path, 60)) << name;
        ExpectSameAsGiflib(ReadFileBytes(path), name);
    }
}

}  // namespace
