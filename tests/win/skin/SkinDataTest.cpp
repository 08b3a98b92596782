// Decoding hand-made skins: the settings rules, the pictures, the temporary settings file,
// and the component's behaviour towards the skin manager.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "skin/manager/SkinManager_win.h"
#include "skin/stored/SkinData_win.h"
#include "skin/stored/SkinDecodeAhead_win.h"
#include "skin/stored/SkinReader.h"
#include "skin/stored/SkinStore.h"
#include "toolkit/Canvas_win.h"
#include "tools/skinpack/SkinArchiveWriter.h"

namespace {

std::vector<uint8_t> Bmp(int width, int height, uint16_t bits = 24) {
    uint32_t row = ((width * bits + 31) / 32) * 4;
    uint32_t palette = bits <= 8 ? (4u << bits) : 0;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutU32LE(out, 54 + palette + row * height);
    PutU32LE(out, 0);
    PutU32LE(out, 54 + palette);
    PutU32LE(out, 40);
    PutU32LE(out, static_cast<uint32_t>(width));
    PutU32LE(out, static_cast<uint32_t>(height));
    PutU16LE(out, 1);
    PutU16LE(out, bits);
    for (int i = 0; i < 6; ++i) PutU32LE(out, 0);
    for (uint32_t i = 0; i < palette; ++i) out.push_back(static_cast<uint8_t>(i * 7));
    out.insert(out.end(), row * height, 0x5A);
    return out;
}

std::vector<uint8_t> Text(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::string TempPath(const std::string& name) {
    char folder[MAX_PATH + 1];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The files the skin decoder may leave in the temporary folder.
size_t TemporaryFileCount() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(TempPath("tsk*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    size_t count = 1;
    while (FindNextFileA(search, &found)) ++count;
    FindClose(search);
    return count;
}

// A store with one item per skin, each skin given as archive entries.
class SkinDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        notices_.clear();
        TSkinData::NoticeHandler() = [this](const char* message) { notices_.push_back(message); };
        // A manager of its own that has seen no window activated: actions take effect at once.
        TSkinManage::Finalize();
        manager_ = &TSkinManage::ForSkinData();
    }
    void TearDown() override { TSkinManage::Finalize(); }

    int AddSkin(const std::vector<TSkinArchiveEntry>& entries) {
        return AddStored(WrapStoredSkin(BuildSkinArchive(entries)));
    }
    int AddStored(const std::vector<uint8_t>& stored) {
        TSkinCollectionItem& item = store_.Store().Add();
        item.DataStream().WriteBuffer(stored.data(), stored.size());
        return store_.Store().Count() - 1;
    }

    TSkinStore store_;
    std::vector<std::string> notices_;
    TSkinManage* manager_ = nullptr;
};

TEST_F(SkinDataTest, PictureValuesColoursAndIntegers) {
    const char* ini =
        "[TitlebarSkin]\r\nSkinName=Test\r\n"
        "[Personality]\r\nLeft=images\\left.bmp\r\nLeftTopHeight=30\r\nLeftBotHeight=abc\r\nLeftFrame=2\r\n"
        "Right=right\r\nTop=top.BMP\r\nBottom=12\r\nTextBack=title.bmp\r\nTextShift=22\r\n"
        "ActiveTextR=1\r\nActiveTextG=2\r\nActiveTextB=3\r\nInActiveTextR=9\r\nInActiveTextG=-1\r\n"
        "[Colours]\r\nButtonFace=59 97 131\r\nHilight=59,97,131\r\nMenu=59  97 131\r\nButtonText=\r\n"
        "[Colour2]\r\ncolor=1 2 3\r\n[Colours9]\r\ncolor=4 5 6\r\n[colour]\r\n"
        "[Buttons]\r\nBitmap=button.bmp\r\nRadioButton=radio.bmp\r\nCheckButton=check.bmp\r\n"
        "CheckButtonFrame=7\r\nNormalColour=2\r\nTrans=x\r\n";
    int index = AddSkin({{"left.bmp", Bmp(8, 40)}, {"right.bmp", Bmp(8, 40)}, {"top.bmp", Bmp(20, 60)},
                         {"title.bmp", Bmp(30, 40, 8)}, {"button.bmp", Bmp(50, 20)}, {"radio.bmp", Bmp(96, 16)},
                         {"check.bmp", Bmp(52, 13)}, {"skin.ini", Text(ini)}});
    TSkinData data;
    data.LoadSkinFromStore(store_, index);
    ASSERT_FALSE(data.NotReady());
    EXPECT_EQ(data.SkinName, "Test");
    // A folder part is ignored; values without ".bmp" (or with ".BMP") give no picture.
    EXPECT_EQ(data.Left.Picture->Width(), 8);
    EXPECT_TRUE(data.Right.Picture->Empty());
    EXPECT_TRUE(data.Top.Picture->Empty());
    EXPECT_TRUE(data.Bottom.Picture->Empty());
    EXPECT_EQ(data.Left.TopHeight, 30);
    EXPECT_EQ(data.Left.BottomHeight, 0);  // not an integer: the default
    EXPECT_EQ(data.Left.FrameCount, 2);
    EXPECT_EQ(data.Right.FrameCount, 1);
    EXPECT_EQ(data.Right.Tile, 1);
    // Pictures keep the pixel format of their file.
    EXPECT_EQ(data.Title.Picture->PixelFormat(), pf8bit);
    EXPECT_EQ(data.Title.TextShift(), 22);
    EXPECT_EQ(data.Title.ActiveTextColour, static_cast<TColor>(RGB(1, 2, 3)));
    EXPECT_EQ(data.Title.InactiveTextColour, clNone);

    EXPECT_EQ(data.Colours.ButtonFace, static_cast<TColor>(RGB(59, 97, 131)));
    EXPECT_EQ(data.Colours.Hilight, static_cast<TColor>(RGB(59, 97, 131)));
    EXPECT_EQ(data.Colours.Menu, static_cast<TColor>(RGB(59, 0, 97)));
    EXPECT_EQ(data.Colours.Menubar, data.Colours.ButtonFace);
    EXPECT_EQ(data.Colours.MenuText, data.Colours.ButtonFace);  // read from ButtonFace's text
    EXPECT_EQ(data.Colours.ButtonText, clSystemColor | COLOR_BTNTEXT);
    EXPECT_EQ(data.Colours.WindowText, clSystemColor | COLOR_WINDOWTEXT);
    // Every section beginning with "colour" but "Colours" itself counts, in file order;
    // "colour" has no key and takes the default.
    ASSERT_EQ(data.ColourTable.size(), 3u);
    EXPECT_EQ(data.ColourTable[0], static_cast<TColor>(RGB(1, 2, 3)));
    EXPECT_EQ(data.ColourTable[1], static_cast<TColor>(RGB(4, 5, 6)));
    EXPECT_EQ(data.ColourTable[2], clSystemColor | COLOR_WINDOWTEXT);

    EXPECT_EQ(data.Buttons.FrameCount, 5);
    EXPECT_EQ(data.Buttons.RadioFrameCount, 6);  // 96 × 16
    EXPECT_EQ(data.Buttons.CheckFrameCount, 7);  // as given
    EXPECT_EQ(data.Buttons.NormalColour, 2);
    EXPECT_EQ(data.Buttons.Trans, 0);
    EXPECT_EQ(data.Buttons.NormalColour2, clSystemColor | COLOR_BTNTEXT);
    // No caption buttons defined: only the three multiple-document ones, without pictures.
    ASSERT_EQ(data.SysButtons.size(), 3u);
    EXPECT_TRUE(data.SysButtons[0]->Picture->Empty());
    EXPECT_EQ(data.SysButtons[2]->Action, 9);
    EXPECT_EQ(data.Progress, nullptr);
}

TEST_F(SkinDataTest, CaptionButtonAndToggleFrameRules) {
    const char* ini =
        "[Button0]\r\nAction=0\r\nButtonImage=b38.bmp\r\n"
        "[Button.Radio]\r\nAction=5\r\n[BUTTONS]\r\nBitmap=x.bmp\r\nRadioButton=r.bmp\r\nCheckButton=c.bmp\r\n"
        "[button1]\r\nAction=1\r\nButtonImage=b40.bmp\r\nCombineOp=4\r\n"
        "[Button2]\r\nAction=3\r\nButtonImage=b38.bmp\r\n"
        "[Button3]\r\nAction=11\r\nButtonImage=b40.bmp\r\nframe=2\r\n"
        "[Button4]\r\nAction=-1\r\nButtonImage=b38.bmp\r\n"
        "[Button.Checkbox]\r\n[MDICONTROLS]\r\nImage=mdi.bmp\r\n";
    int index = AddSkin({{"b38.bmp", Bmp(38, 10)}, {"b40.bmp", Bmp(40, 10)}, {"r.bmp", Bmp(52, 13)},
                         {"c.bmp", Bmp(48, 16)}, {"mdi.bmp", Bmp(120, 9)}, {"a.ini", Text(ini)}});
    TSkinData data;
    data.LoadSkinFromStore(store_, index);
    ASSERT_FALSE(data.NotReady());
    ASSERT_EQ(data.SysButtons.size(), 5u + 3u);
    EXPECT_EQ(data.SysButtons[0]->Name, "Button0");
    EXPECT_EQ(data.SysButtons[0]->FrameCount, 3);  // 3.8 times as wide as high
    EXPECT_EQ(data.SysButtons[1]->FrameCount, 6);  // 4 times
    EXPECT_EQ(data.SysButtons[1]->CombineOp, 4);
    EXPECT_EQ(data.SysButtons[0]->CombineOp, -1);
    EXPECT_TRUE(data.SysButtons[2]->Picture->Empty());  // action 3 shows the icon
    EXPECT_EQ(data.SysButtons[3]->FrameCount, 2);
    EXPECT_FALSE(data.SysButtons[3]->Picture->Empty());  // a frame value was given
    EXPECT_EQ(data.SysButtons[4]->FrameCount, 6);       // negative action
    EXPECT_EQ(data.Buttons.RadioFrameCount, 4);          // 52 × 13
    EXPECT_EQ(data.Buttons.CheckFrameCount, 4);          // 48 × 16, raised to 4
    // The MDICONTROLS picture, 12 columns of 10: button k takes columns 4k … 4k+3.
    for (int k = 0; k < 3; ++k) {
        TDataSkinSysButton& button = *data.SysButtons[5 + k];
        EXPECT_EQ(button.Action, 7 + k);
        EXPECT_EQ(button.Align, 100);
        EXPECT_EQ(button.Visibility, 100);
        EXPECT_EQ(button.Visibility1, 0);
        EXPECT_EQ(button.FrameCount, 4);
        EXPECT_EQ(button.Picture->Width(), 40);
        EXPECT_EQ(button.Picture->Height(), 9);
        EXPECT_EQ(button.XCoord, 14 * (3 - k));
    }
}

TEST_F(SkinDataTest, AnElementMissingFromTheNextSkinIsGone) {
    int withProgress = AddSkin({{"p.bmp", Bmp(20, 10)}, {"g.bmp", Bmp(24, 24)},
                                {"s.ini", Text("[Progress]\r\nBitmap=p.bmp\r\nTile=1\r\n"
                                               "[Tabs]\r\nImage=g.bmp\r\nBorder=g.bmp\r\n"
                                               "[HorzScrollThumb]\r\nImage=g.bmp\r\nFrameCount=6\r\n")}});
    int without = AddSkin({{"s.ini", Text("[Progress]\r\nBitmap=missing.bmp\r\n")}});
    TSkinData data;
    data.LoadSkinFromStore(store_, withProgress);
    ASSERT_NE(data.Progress, nullptr);
    EXPECT_EQ(data.Progress->Tile, 1);
    EXPECT_EQ(data.Progress->FrameCount, 2);
    ASSERT_NE(data.Tabs, nullptr);
    EXPECT_EQ(data.Tabs->Picture2->Width(), 24);
    EXPECT_EQ(data.HorzScrollThumb->FrameCount, 6);
    data.LoadSkinFromStore(store_, without);
    EXPECT_FALSE(data.NotReady());
    EXPECT_EQ(data.Progress, nullptr);
    EXPECT_EQ(data.Tabs, nullptr);
    EXPECT_EQ(data.HorzScrollThumb, nullptr);
}

// A form that holds the same skin twice decodes it once: the second component takes the first
// one's decoded objects, yet each stays its own.
TEST_F(SkinDataTest, TheSameSkinTwiceIsDecodedOnceAndEachComponentStaysItsOwn) {
    const char* ini =
        "[TitlebarSkin]\r\nSkinName=Twin\r\n[Personality]\r\nLeft=l.bmp\r\nLeftTopHeight=7\r\nTextBack=l.bmp\r\n"
        "[Colours]\r\nButtonFace=1 2 3\r\n[Colour1]\r\ncolor=4 5 6\r\n[Progress]\r\nBitmap=p.bmp\r\nTile=1\r\n"
        "[Tabs]\r\nImage=p.bmp\r\nBorder=l.bmp\r\n[Button1]\r\nAction=0\r\nButtonImage=p.bmp\r\nframe=2\r\n"
        "[Buttons]\r\nCheckButton=p.bmp\r\nCheckButtonFrame=4\r\n";
    int twin = AddSkin({{"l.bmp", Bmp(8, 40)}, {"p.bmp", Bmp(20, 10)}, {"s.ini", Text(ini)}});
    int other = AddSkin({{"s.ini", Text("[TitlebarSkin]\r\nSkinName=Other\r\n")}});
    TSkinData first, second;
    first.LoadSkinFromStore(store_, twin);
    second.LoadSkinFromStore(store_, twin);
    ASSERT_FALSE(second.NotReady());
    EXPECT_EQ(second.SkinName, "Twin");
    EXPECT_EQ(second.Left.TopHeight, 7);
    EXPECT_EQ(second.Title.Picture->Width(), 8);
    EXPECT_EQ(second.Colours.ButtonFace, first.Colours.ButtonFace);
    EXPECT_EQ(second.ColourTable, first.ColourTable);
    ASSERT_NE(second.Progress, nullptr);
    EXPECT_EQ(second.Progress->Tile, 1);
    ASSERT_NE(second.Tabs, nullptr);
    EXPECT_EQ(second.Tabs->Picture2->Height(), 40);
    ASSERT_EQ(second.SysButtons.size(), first.SysButtons.size());
    EXPECT_EQ(second.SysButtons[0]->FrameCount, first.SysButtons[0]->FrameCount);
    EXPECT_EQ(second.Buttons.CheckFrameCount, 4);
    EXPECT_NE(second.ButtonFaceBrush(), first.ButtonFaceBrush());
    // Not decoded again: the pictures are the first component's images.
    EXPECT_EQ(second.Left.Picture->Handle(), first.Left.Picture->Handle());
    EXPECT_NE(second.Progress.get(), first.Progress.get());

    // Drawing on one component's picture leaves the other's as it was.
    second.Left.Picture->Canvas().FillRect(RECT{0, 0, 8, 40});
    EXPECT_NE(second.Left.Picture->Handle(), first.Left.Picture->Handle());
    // A new skin for the first leaves the second with the skin it had.
    first.LoadSkinFromStore(store_, other);
    EXPECT_EQ(first.Progress, nullptr);
    EXPECT_EQ(second.SkinName, "Twin");
    ASSERT_NE(second.Progress, nullptr);
    EXPECT_EQ(second.Progress->Picture->Width(), 20);
}

// A skin decoded ahead on another thread goes to the first component that loads the same bytes,
// whole and once; other bytes are decoded as ever, and a skin the thread could not decode is
// decoded by the component, which alone tells of an older archive.
TEST_F(SkinDataTest, ASkinDecodedAheadGoesToTheFirstComponentWithItsBytes) {
    const std::string ini = "[TitlebarSkin]\r\nSkinName=Ahead\r\n[Personality]\r\nLeft=l.bmp\r\nLeftTopHeight=5\r\n";
    std::vector<uint8_t> stored = WrapStoredSkin(BuildSkinArchive({{"l.bmp", Bmp(6, 30)}, {"s.ini", Text(ini)}}));
    std::vector<uint8_t> older = BuildSkinArchive({{"a.ini", Text("[x]")}});
    older[0] = 0x1F;
    std::vector<uint8_t> olderStored = WrapStoredSkin(older);
    int same = AddStored(stored), other = AddSkin({{"s.ini", Text("[TitlebarSkin]\r\nSkinName=Other\r\n")}});
    int olderIndex = AddStored(olderStored);
    size_t temporaryFiles = TemporaryFileCount();

    TSkinData otherData, taker, second;
    {
        TSkinDecodeAhead ahead(stored);
        otherData.LoadSkinFromStore(store_, other);
        EXPECT_EQ(otherData.SkinName, "Other");
        taker.LoadSkinFromStore(store_, same);
        EXPECT_EQ(TSkinDecodeAhead::Take(stored), nullptr);  // taken once
    }
    ASSERT_FALSE(taker.NotReady());
    EXPECT_EQ(taker.SkinName, "Ahead");
    EXPECT_EQ(taker.Left.TopHeight, 5);
    ASSERT_NE(taker.Left.Picture->Handle(), nullptr);  // its own, after the one decoded ahead is gone
    EXPECT_EQ(taker.Left.Picture->Width(), 6);
    second.LoadSkinFromStore(store_, same);  // from its twin now
    EXPECT_EQ(second.Left.Picture->Height(), 30);
    EXPECT_EQ(TemporaryFileCount(), temporaryFiles);

    {
        TSkinDecodeAhead ahead(olderStored);
        EXPECT_EQ(TSkinDecodeAhead::Take(stored), nullptr);  // other bytes: not handed out
        taker.LoadSkinFromStore(store_, olderIndex);
    }
    EXPECT_TRUE(taker.NotReady());
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_EQ(notices_[0], "This is Older Skin File\rPlease update to new version !");
    { TSkinDecodeAhead unclaimed(stored); }  // waited for, and its settings file removed
    EXPECT_EQ(TemporaryFileCount(), temporaryFiles);
}

TEST_F(SkinDataTest, FailedLoadsLeaveTheComponentNotReady) {
    TSkinData data;
    // Wrong format mark: the notice, and no skin.
    std::vector<uint8_t> archive = BuildSkinArchive({{"a.ini", Text("[x]")}});
    archive[0] = 0x1F;
    data.LoadSkinFromStore(store_, AddStored(WrapStoredSkin(archive)));
    EXPECT_TRUE(data.NotReady());
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_EQ(notices_[0], "This is Older Skin File\rPlease update to new version !");
    // No settings entry at all.
    data.LoadSkinFromStore(store_, AddSkin({{"a.bmp", Bmp(2, 2)}}));
    EXPECT_TRUE(data.NotReady());
    EXPECT_FALSE(data.DecodeSkinStream());
    // Garbage.
    data.LoadSkinFromStore(store_, AddStored({1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(data.NotReady());
    EXPECT_EQ(notices_.size(), 1u);
    // An index past the end changes nothing.
    int good = AddSkin({{"a.ini", Text("[TitlebarSkin]\r\nSkinName=Good\r\n")}});
    data.LoadSkinFromStore(store_, good);
    ASSERT_FALSE(data.NotReady());
    data.LoadSkinFromStore(store_, good + 1);
    EXPECT_FALSE(data.NotReady());
    EXPECT_EQ(data.SkinName, "Good");
}

TEST_F(SkinDataTest, TheSettingsFileStaysInTheTemporaryFolderAndIsRemoved) {
    // The entry's name never names a file: one that tries to climb out of the temporary
    // folder, or is nothing but folder parts, leaves nothing behind anywhere.
    std::string escaped = TempPath("..\\tervane-escape.ini");
    std::string inside = TempPath("tervane-escape.ini");
    DeleteFileA(escaped.c_str());
    size_t before = TemporaryFileCount();
    TSkinData data;
    for (const char* name : {"..\\tervane-escape.ini", "x\\.ini\\"}) {
        data.LoadSkinFromStore(store_, AddSkin({{name, Text("[TitlebarSkin]\r\nSkinName=Inside\r\n")}}));
        EXPECT_FALSE(data.NotReady()) << name;
        EXPECT_EQ(data.SkinName, "Inside");
        data.SkinName.clear();
    }
    EXPECT_FALSE(Exists(escaped));
    EXPECT_FALSE(Exists(inside));
    EXPECT_EQ(TemporaryFileCount(), before);
}

TEST_F(SkinDataTest, ComponentStreamingAndManagerActions) {
    int index = AddSkin({{"a.ini", Text("[TitlebarSkin]\r\nSkinName=Streamed\r\n")}});
    TSkinData data;
    EXPECT_EQ(data.DisableTag, 99);
    EXPECT_EQ(data.SkinControls, AllSkinControlsButReport);
    EXPECT_EQ(data.SkinControls & SkinControlBit(xcReport), 0u);
    EXPECT_EQ(data.SkinFormtype, sfMainform);
    EXPECT_FALSE(data.Active());
    EXPECT_TRUE(data.NotReady());
    EXPECT_EQ(data.SkinStore(), "(none)");

    // Read from a form: the property decodes at once, Loaded posts activation.
    TMemoryStream property;
    TSkinData source;
    source.LoadSkinFromStore(store_, index);
    EXPECT_EQ(manager_->SkinDataToNotify(), &source) << "a main-form component announces its new skin";
    source.WriteSkinStream(property);
    property.SetPosition(0);
    data.SetReading(true);
    data.SetActive(true);
    data.ReadSkinStream(property);
    data.SetReading(false);
    EXPECT_FALSE(manager_->SkinningOn()) << "nothing reaches the manager while the form is read";
    EXPECT_EQ(data.SkinName, "Streamed");
    data.Loaded();
    EXPECT_TRUE(manager_->SkinningOn());
    data.SetActive(false);
    EXPECT_FALSE(manager_->SkinningOn());
    data.SetActive(true);
    EXPECT_TRUE(manager_->SkinningOn());

    // A component whose skin did not decode turns Active off when loading ends.
    TSkinData broken;
    broken.SetReading(true);
    broken.SetActive(true);
    TMemoryStream junk(std::vector<uint8_t>{3, 0, 0, 0, 9, 9, 9});
    broken.ReadSkinStream(junk);
    broken.SetReading(false);
    data.SetActive(false);
    broken.Loaded();
    EXPECT_FALSE(broken.Active());
    EXPECT_FALSE(manager_->SkinningOn());

    // Dialog-type components reload but never speak to the manager.
    TSkinData dialog;
    dialog.SkinFormtype = sfDialog;
    dialog.LoadSkinFromStore(store_, index);
    dialog.SetActive(true);
    EXPECT_EQ(manager_->SkinDataToNotify(), &source);
    EXPECT_FALSE(manager_->SkinningOn());

    // A design-time component decodes nothing.
    TSkinData designed(nullptr, true);
    designed.LoadSkinFromStore(store_, index);
    EXPECT_TRUE(designed.NotReady());
    EXPECT_EQ(designed.SkinStore(), "(Good)");
}

TEST_F(SkinDataTest, SkinFileLoadsAnExistingFileOnly) {
    std::string path = TempPath("tervane-test.skn");
    std::vector<uint8_t> stored = WrapStoredSkin(BuildSkinArchive({{"a.ini", Text("[TitlebarSkin]\r\nSkinName=File\r\n")}}));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, stored.data(), static_cast<DWORD>(stored.size()), &written, nullptr);
    CloseHandle(file);
    TSkinData data;
    data.SetSkinFile(path + ".missing");
    EXPECT_TRUE(data.NotReady());
    EXPECT_EQ(manager_->SkinDataToNotify(), nullptr);
    data.SetSkinFile(path);
    EXPECT_FALSE(data.NotReady());
    EXPECT_EQ(data.SkinName, "File");
    EXPECT_EQ(data.SkinFile(), path);
    EXPECT_EQ(manager_->SkinDataToNotify(), &data);
    DeleteFileA(path.c_str());
}

}  // namespace

namespace {

TEST_F(SkinDataTest, DamagedPicturesAndABusySettingsFile) {
    std::vector<uint8_t> damaged = Bmp(8, 40);
    damaged.resize(30);
    int index = AddSkin({{"left.bmp", damaged}, {"right.bmp", Bmp(6, 40)},
                         {"tervane-busy.ini", Text("[Personality]\r\nLeft=left.bmp\r\nRight=right.bmp\r\n")}});
    TSkinData data;
    data.LoadSkinFromStore(store_, index);
    ASSERT_FALSE(data.NotReady());
    EXPECT_TRUE(data.Left.Picture->Empty());
    EXPECT_EQ(data.Right.Picture->Width(), 6);

    // Another decode of the same skin that holds its settings file open, as a second copy of
    // the program might: this one still loads, and leaves the other's file alone.
    std::string busy = TempPath("tervane-busy.ini");
    HANDLE held = CreateFileA(busy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    TSkinData second;
    second.LoadSkinFromStore(store_, index);
    data.LoadSkinFromStore(store_, index);
    EXPECT_FALSE(second.NotReady());
    EXPECT_FALSE(data.NotReady());
    EXPECT_EQ(second.Right.Picture->Width(), 6);
    CloseHandle(held);
    EXPECT_TRUE(Exists(busy));
    DeleteFileA(busy.c_str());
}

TEST_F(SkinDataTest, ComponentsJoinAndLeaveTheManagerAtRunTimeOnly) {
    {
        TSkinData first;
        TSkinData second;
        TSkinData designed(nullptr, true);
        EXPECT_EQ(manager_->SkinDataList(), (std::vector<TSkinData*>{&first, &second}));
    }
    EXPECT_TRUE(manager_->SkinDataList().empty());
    TSkinManage::Finalize();
    EXPECT_EQ(TSkinManage::Instance(), nullptr) << "nothing brings a finalised engine back but a new component";
    TSkinData again;
    ASSERT_NE(TSkinManage::Instance(), nullptr);
    EXPECT_EQ(TSkinManage::Instance()->SkinDataList(), (std::vector<TSkinData*>{&again}));
}

}  // namespace

TEST(SkinComponentsTest, TheOwnerFreesItsSkinComponentsAndFindsThemByName) {
    auto* form = new TComponent(nullptr);
    auto* data = new TSkinData(form);
    data->SetName("SkinData1");
    auto* store = new TSkinStore(form);
    store->SetName("SkinStore1");
    EXPECT_EQ(form->FindComponent("SkinData1"), data);
    EXPECT_EQ(form->FindComponent("SkinStore1"), store);
    EXPECT_STREQ(data->ClassName(), "TSkinData");
    EXPECT_STREQ(store->ClassName(), "TSkinStore");
    const std::vector<TSkinData*>& listed = TSkinManage::Instance()->SkinDataList();
    ASSERT_NE(std::find(listed.begin(), listed.end(), data), listed.end());
    form->Free();
    EXPECT_EQ(std::find(listed.begin(), listed.end(), data), listed.end())
        << "the component left the skin manager when its owner freed it";
}
