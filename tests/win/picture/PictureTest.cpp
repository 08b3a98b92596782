#include <gtest/gtest.h>

#include "PictureTestSupport.h"
#include "base/FileStream.h"
#include "picture/Picture_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/ico/Icon_win.h"
#include "picture/metafile/Metafile_win.h"
#include "toolkit/Canvas_win.h"

namespace {

// A format unit as the GIF and JPEG units have one: a graphic class and its registration.
class TFakeImage : public TBitmap {
public:
    TERVANE_GRAPHIC_CLASS(TFakeImage)
};
TERVANE_DEFINE_GRAPHIC_CLASS(TFakeImage, TBitmap)

class TFakeImageChild : public TFakeImage {
public:
    TERVANE_GRAPHIC_CLASS(TFakeImageChild)
};
TERVANE_DEFINE_GRAPHIC_CLASS(TFakeImageChild, TFakeImage)

std::string SavedBitmap(const std::string& name, int width, int height) {
    TBitmap bitmap;
    bitmap.SetSize(width, height);
    std::string path = TempPath(name);
    bitmap.SaveToFile(path);
    return path;
}

std::string ErrorOf(TPicture& picture, const std::string& fileName) {
    try {
        picture.LoadFromFile(fileName);
    } catch (const Exception& error) {
        return error.Message();
    }
    return "(loaded)";
}

}  // namespace

TEST(PictureTest, RegistryStartsWithMetafilesIconsAndBitmaps) {
    const auto& entries = TPicture::FileFormats().Entries();
    ASSERT_GE(entries.size(), 4u);
    EXPECT_EQ(entries[0].extension, "wmf");
    EXPECT_EQ(entries[0].description, "Metafiles");
    EXPECT_EQ(entries[1].extension, "emf");
    EXPECT_EQ(entries[1].description, "Enhanced Metafiles");
    EXPECT_EQ(entries[2].extension, "ico");
    EXPECT_EQ(entries[2].description, "Icons");
    EXPECT_EQ(entries[3].extension, "bmp");
    EXPECT_EQ(entries[3].description, "Bitmaps");
    EXPECT_EQ(entries[0].graphicClass, TMetafile::StaticClass());
    EXPECT_EQ(entries[2].graphicClass, TIcon::StaticClass());
    EXPECT_EQ(entries[3].graphicClass, TBitmap::StaticClass());
    for (const auto& entry : entries) EXPECT_EQ(entry.descriptionResource, 0);
}

TEST(PictureTest, RegisteredUnitsAreFoundByLastExtensionAndLeaveByClass) {
    size_t before = TPicture::FileFormats().Entries().size();
    {
        TFileFormatRegistration fake("FAKE", "Fake Image", TFakeImage::StaticClass());
        TPicture::RegisterFileFormat("fk2", "Fake Child", TFakeImageChild::StaticClass());
        EXPECT_EQ(TPicture::FileFormats().Entries()[before].extension, "fake");
        std::string path = SavedBitmap("archive.tar.FaKe", 3, 2);
        TPicture picture;
        picture.LoadFromFile(path);
        ASSERT_NE(picture.Graphic(), nullptr);
        EXPECT_STREQ(picture.Graphic()->ClassName(), "TFakeImage");
        EXPECT_EQ(picture.Width(), 3);
        DeleteFileIfExists(path);
    }
    // Removing TFakeImage also removed the entry of the class derived from it.
    EXPECT_EQ(TPicture::FileFormats().Entries().size(), before);
    EXPECT_EQ(TPicture::FileFormats().FindExt("fk2"), nullptr);
}

TEST(PictureTest, UnknownExtensionsKeepTheirLetterCaseAndThePicture) {
    TPicture picture;
    picture.Bitmap()->SetSize(7, 7);
    TGraphic* before = picture.Graphic();
    EXPECT_EQ(ErrorOf(picture, "C:\\pictures\\photo.PnG"), "Unknown picture file extension (.PnG)");
    EXPECT_EQ(ErrorOf(picture, "C:\\pictures.d\\noextension"), "Unknown picture file extension (.)");
    EXPECT_EQ(picture.Graphic(), before);
    EXPECT_EQ(picture.Width(), 7);
}

TEST(PictureTest, ExtensionLetterCaseDoesNotMatter) {
    std::string path = SavedBitmap("PHOTO.BMP", 4, 5);
    TPicture picture;
    picture.LoadFromFile(path);
    EXPECT_STREQ(picture.Graphic()->ClassName(), "TBitmap");
    EXPECT_EQ(picture.Height(), 5);
    DeleteFileIfExists(path);
}

TEST(PictureTest, BitmapNamedIcoFailsAndLeavesThePictureAsItWas) {
    std::string path = SavedBitmap("not-an-icon.ico", 4, 4);
    TPicture picture;
    picture.Bitmap()->SetSize(9, 9);
    int changes = 0;
    picture.OnChange = [&](TPicture*) { ++changes; };
    EXPECT_EQ(ErrorOf(picture, path), "Icon image is not valid");
    EXPECT_STREQ(picture.Graphic()->ClassName(), "TBitmap");
    EXPECT_EQ(picture.Width(), 9);
    EXPECT_EQ(changes, 0);
    DeleteFileIfExists(path);
}

TEST(PictureTest, MissingFileNamesTheFullPath) {
    TPicture picture;
    std::string message = ErrorOf(picture, "C:\\no-such-folder\\x.bmp");
    std::string prefix = "Cannot open file \"C:\\no-such-folder\\x.bmp\". ";
    EXPECT_EQ(message.compare(0, prefix.size(), prefix), 0) << message;
    EXPECT_GT(message.size(), prefix.size());
}

TEST(PictureTest, CopyingGivesTheTargetAGraphicOfItsOwn) {
    TPicture source, target;
    source.Bitmap()->SetSize(6, 4);
    int changes = 0;
    target.OnChange = [&](TPicture*) { ++changes; };
    target.Assign(&source);
    ASSERT_NE(target.Graphic(), nullptr);
    EXPECT_NE(target.Graphic(), source.Graphic());
    EXPECT_STREQ(target.Graphic()->ClassName(), "TBitmap");
    EXPECT_EQ(target.Width(), 6);
    EXPECT_EQ(changes, 1);
    // The copy's changes reach its own picture only.
    static_cast<TBitmap*>(target.Graphic())->SetWidth(2);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(source.Width(), 6);
    target.SetGraphic(nullptr);
    EXPECT_EQ(target.Graphic(), nullptr);
    EXPECT_EQ(target.Width(), 0);
}

TEST(PictureTest, IconAccessorReplacesOtherGraphics) {
    TPicture picture;
    picture.Bitmap()->SetSize(3, 3);
    int changes = 0;
    picture.OnChange = [&](TPicture*) { ++changes; };
    TIcon* icon = picture.Icon();
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->Empty());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picture.Icon(), icon) << "an icon is kept";
    EXPECT_EQ(changes, 1);
    icon->SetHandle(CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(picture.Width(), 32);
}

TEST(PictureTest, FailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile) {
    class TBrokenGraphic : public TBitmap {
    public:
        void SaveToStream(TStream& stream) const override {
            stream.WriteBuffer("half", 4);
            throw EWriteError(ErrorText::StreamWrite);
        }
    };
    std::string path = SavedBitmap("keep-old.bmp", 2, 2);
    std::vector<uint8_t> old = ReadFileBytes(path);
    TBrokenGraphic broken;
    broken.SetSize(5, 5);
    EXPECT_THROW(broken.SaveToFile(path), EWriteError);
    EXPECT_EQ(ReadFileBytes(path), old);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(TempPath("~tv*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "left behind: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    DeleteFileIfExists(path);
}

TEST(PictureTest, SaveIntoAMissingFolderNamesTheTarget) {
    TBitmap bitmap;
    bitmap.SetSize(2, 2);
    try {
        bitmap.SaveToFile("C:\\no-such-folder\\out.bmp");
        FAIL();
    } catch (const EFCreateError& error) {
        std::string prefix = "Cannot create file \"C:\\no-such-folder\\out.bmp\". ";
        EXPECT_EQ(error.Message().compare(0, prefix.size(), prefix), 0) << error.Message();
    }
}

TEST(PictureTest, EqualsComparesClassAndStoredBytes) {
    TBitmap a, b;
    a.SetSize(3, 3);
    b.Assign(&a);
    EXPECT_TRUE(a.Equals(&b));
    b.Canvas().SetPixel(1, 1, clRed);
    EXPECT_FALSE(a.Equals(&b));
    TIcon icon;
    EXPECT_FALSE(a.Equals(&icon));
}

TEST(PictureTest, BitmapsGoThroughClipboardFormats) {
    TBitmap source;
    source.SetSize(4, 3);
    source.Canvas().SetPixel(2, 1, clBlue);
    UINT format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    source.SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, static_cast<UINT>(CF_BITMAP));
    TBitmap target;
    target.LoadFromClipboardFormat(format, data, palette);
    DeleteObject(data);
    EXPECT_EQ(target.Width(), 4);
    EXPECT_EQ(PixelAt(target, 2, 1), RGB(0, 0, 255));
    TIcon icon;
    EXPECT_THROW(icon.SaveToClipboardFormat(format, data, palette), EInvalidGraphic);
}
