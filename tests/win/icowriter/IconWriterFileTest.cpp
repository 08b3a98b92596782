// Saving icons to files: what the file holds, and what a failed save leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "IcoTestFile.h"
#include "TestIcons.h"
#include "base/Exceptions.h"
#include "base/Streams.h"
#include "icowriter/IconWriter_win.h"
#include "picture/ico/Icon_win.h"

namespace {

namespace fs = std::filesystem;

TIconPicture Target() {
    return MakePicture(32, 32, [](int x, int y) -> uint32_t {
        if ((x - 16) * (x - 16) + (y - 16) * (y - 16) > 225) return kClear;
        return (x + y) % 8 < 4 ? 0xFF0000 : 0xFFFFFF;
    });
}

class IconWriterFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(OutputFolder()) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(folder_);
        icon_.SetHandle(MakeIcon(Target()));
    }
    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
    size_t FilesInFolder() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
    TIcon icon_;
    TIconWriter writer_{nullptr};
};

}  // namespace

TEST_F(IconWriterFileTest, SavedFilesHoldExactlyTheStreamAndReplaceOldOnes) {
    std::string name = PathOf("target.ico");
    WriteFileBytes(name, std::vector<uint8_t>(5000, 0x77));  // a longer file was there
    writer_.SaveIconAs256Colors(icon_, name);
    TMemoryStream expected;
    TIconWriter::WriteIconStream(expected, icon_.Handle(), IconFile::PaletteColours);
    EXPECT_EQ(ReadFileBytes(name), expected.Bytes());

    writer_.SaveIconAsTrueColor(icon_, name);
    std::vector<uint8_t> bytes = ReadFileBytes(name);
    ASSERT_EQ(bytes.size(), 2238u);
    EXPECT_EQ(bytes[8], 16);
    EXPECT_TRUE(SamePicture(PictureOf(TIcoTestFile(bytes)), Target(), 8));
    EXPECT_EQ(FilesInFolder(), 1u);
    EXPECT_TRUE(icon_.Handle()) << "the icon keeps its handle";

    // The icon class reads both modes back.
    for (auto save : {&TIconWriter::SaveIconAs256Colors, &TIconWriter::SaveIconAsTrueColor}) {
        (writer_.*save)(icon_, name);
        TIcon loaded;
        loaded.LoadFromFile(name);
        EXPECT_TRUE(SamePicture(RenderIcon(loaded.Handle(), 32, 32), Target(), 8));
    }
}

TEST_F(IconWriterFileTest, InvalidIconLeavesThePreviousFileUntouched) {
    std::string name = PathOf("keep.ico");
    writer_.SaveIconAs256Colors(icon_, name);
    std::vector<uint8_t> before = ReadFileBytes(name);
    TIcon empty;
    try {
        writer_.SaveIconAsTrueColor(empty, name);
        FAIL() << "an empty icon was saved";
    } catch (const EInvalidGraphic& error) {
        EXPECT_EQ(error.Message(), "Bitmap image is not valid");
    }
    EXPECT_EQ(ReadFileBytes(name), before);

    std::string fresh = PathOf("never.ico");
    EXPECT_THROW(writer_.SaveIconAs256Colors(empty, fresh), EInvalidGraphic);
    EXPECT_FALSE(fs::exists(fresh)) << "no empty file is left behind";
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(IconWriterFileTest, UncreatableFileNamesTheFullPath) {
    std::string name = PathOf("no such folder\\x.ico");
    char full[MAX_PATH];
    GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
    try {
        writer_.SaveIconAs256Colors(icon_, name);
        FAIL() << "saved into a missing folder";
    } catch (const EFCreateError& error) {
        std::string prefix = std::string("Cannot create file \"") + full + "\". ";
        EXPECT_EQ(error.Message().compare(0, prefix.size(), prefix), 0) << error.Message();
        EXPECT_GT(error.Message().size(), prefix.size()) << "the system's error text is missing";
    }
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST(IconWriterComponentTest, TheOwnerFreesTheWriter) {
    struct TWatchedWriter : TIconWriter {
        TWatchedWriter(TComponent* owner, bool& freed) : TIconWriter(owner), freed_(freed) {}
        ~TWatchedWriter() override { freed_ = true; }
        bool& freed_;
    };
    bool freed = false;
    auto* owner = new TComponent(nullptr);
    auto* writer = new TWatchedWriter(owner, freed);
    writer->SetName("IconWriter1");
    EXPECT_EQ(owner->FindComponent("IconWriter1"), writer);
    EXPECT_STREQ(writer->ClassName(), "TIconWriter");
    owner->Free();
    EXPECT_TRUE(freed);
}
