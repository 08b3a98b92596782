// Files written here against Debian's djpeg, files written by Debian's cjpeg read here.
#include <gtest/gtest.h>

#include "JpegTestSupport.h"
#include "base/Exceptions.h"

namespace {

class JpegWithDebianTools : public ::testing::Test {
protected:
    void SetUp() override {
        if (!RunTool("test -x /usr/bin/djpeg -a -x /usr/bin/cjpeg"))
            GTEST_FAIL() << "Debian's libjpeg-turbo-progs (djpeg, cjpeg) are needed: scripts/install-deps.sh";
    }

    // djpeg's picture of a file, as blue-green-red samples (or grey ones).
    Netpbm Djpeg(const std::vector<uint8_t>& jpeg, const std::string& options = "") {
        WriteBytes(scratch_.File("in.jpg"), jpeg);
        EXPECT_TRUE(RunTool("djpeg " + options + " -outfile " + scratch_.File("out.pnm") + " " + scratch_.File("in.jpg")));
        Netpbm image = ReadNetpbm(scratch_.File("out.pnm"));
        if (image.components == 3) image.samples = RgbToBgr(image.samples);
        return image;
    }

    std::vector<uint8_t> Cjpeg(const SyntheticPhoto& photo, const std::string& options) {
        std::vector<uint8_t> ppm;
        std::string header = "P6\n" + std::to_string(photo.width) + " " + std::to_string(photo.height) + "\n255\n";
        ppm.insert(ppm.end(), header.begin(), header.end());
        std::vector<uint8_t> rgb = RgbToBgr(photo.Packed());
        ppm.insert(ppm.end(), rgb.begin(), rgb.end());
        WriteBytes(scratch_.File("in.ppm"), ppm);
        EXPECT_TRUE(RunTool("cjpeg " + options + " -outfile " + scratch_.File("out.jpg") + " " + scratch_.File("in.ppm")));
        return ReadFileBytes(scratch_.File("out.jpg"));
    }

    ScratchFolder scratch_{"jpeg-tools"};
    const SyntheticPhoto photo_ = MakeSyntheticPhoto(123, 77);
};

TEST_F(JpegWithDebianTools, DjpegReadsWhatIsWrittenHere) {
    for (int quality : {0, 50, 90, 100}) {
        auto jpeg = EncodeToBytes(photo_, QualitySettings(quality));
        Netpbm image = Djpeg(jpeg);
        ASSERT_EQ(image.width, 123);
        ASSERT_EQ(image.height, 77);
        ASSERT_EQ(image.components, 3);
        EXPECT_LT(MeanDifference(image.samples, photo_.Packed()), quality >= 90 ? 4.0 : 40.0) << quality;
        // The same library with the same settings: the same picture to the last sample.
        EXPECT_EQ(image.samples, DecodeBytes(jpeg).PackedRows()) << quality;
    }
}

TEST_F(JpegWithDebianTools, DjpegReadsGreyAndProgressiveFilesWrittenHere) {
    TJpegSettings grey;
    grey.GrayOutput = true;
    Netpbm greyImage = Djpeg(EncodeToBytes(photo_, grey));
    EXPECT_EQ(greyImage.components, 1);
    EXPECT_EQ(greyImage.width, 123);
    EXPECT_EQ(greyImage.height, 77);

    TJpegSettings progressive;
    progressive.WriteProgressive = true;
    Netpbm progressiveImage = Djpeg(EncodeToBytes(photo_, progressive));
    EXPECT_EQ(progressiveImage.samples, Djpeg(EncodeToBytes(photo_)).samples);
}

TEST_F(JpegWithDebianTools, CjpegFilesDecodeHereAsDjpegDecodesThem) {
    for (std::string options : {"-quality 85", "-quality 20 -progressive", "-sample 1x1 -optimize", "-restart 1",
                                "-arithmetic", "-grayscale"}) {
        auto jpeg = Cjpeg(photo_, options);
        ASSERT_FALSE(jpeg.empty()) << options;
        MemoryDecodeTarget decoded = DecodeBytes(jpeg);
        Netpbm reference = Djpeg(jpeg);
        EXPECT_EQ(decoded.Width(), 123) << options;
        EXPECT_EQ(decoded.Height(), 77) << options;
        if (reference.components == 1) {
            // Grey files come out quantised to the grey palette: look each index up.
            std::vector<uint8_t> levels;
            for (uint8_t index : decoded.PackedRows()) levels.push_back(decoded.Palette().at(index).Red);
            EXPECT_LE(LargestDifference(levels, reference.samples), 1) << options;
        } else {
            EXPECT_EQ(decoded.PackedRows(), reference.samples) << options;
        }
    }
}

TEST_F(JpegWithDebianTools, ReducedDecodesMatchDjpegScaling) {
    auto jpeg = Cjpeg(photo_, "-quality 90");
    const char* scales[] = {"1/1", "1/2", "1/4", "1/8"};
    for (int s = 0; s < 4; ++s) {
        TJpegSettings reader;
        reader.ReductionScale = static_cast<TJpegReductionScale>(s);
        MemoryDecodeTarget decoded = DecodeBytes(jpeg, reader);
        Netpbm reference = Djpeg(jpeg, std::string("-scale ") + scales[s]);
        EXPECT_EQ(decoded.Width(), reference.width) << scales[s];
        EXPECT_EQ(decoded.Height(), reference.height) << scales[s];
        EXPECT_EQ(decoded.PackedRows(), reference.samples) << scales[s];
    }
}

TEST_F(JpegWithDebianTools, EightBitOutputMatchesDjpegQuantisation) {
    auto jpeg = Cjpeg(photo_, "-quality 90");
    struct Mode {
        TJpegSpeedMode speed;
        const char* djpegOptions;
    } modes[] = {{TJpegSpeedMode::BestQuality, "-colors 236"},
                 {TJpegSpeedMode::BestSpeed, "-colors 236 -onepass -dither ordered -dct fast"}};
    for (const Mode& mode : modes) {
        TJpegSettings reader;
        reader.OutputDepth = TJpegOutputDepth::Bits8;
        reader.SpeedMode = mode.speed;
        MemoryDecodeTarget decoded = DecodeBytes(jpeg, reader);
        std::vector<uint8_t> bgr;
        for (uint8_t index : decoded.PackedRows()) {
            const TJpegColor& c = decoded.Palette().at(index);
            bgr.insert(bgr.end(), {c.Blue, c.Green, c.Red});
        }
        EXPECT_EQ(bgr, Djpeg(jpeg, mode.djpegOptions).samples) << mode.djpegOptions;
    }
}

}  // namespace
