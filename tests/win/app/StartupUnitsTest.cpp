#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/IconHintX_win.h"
#include "app/StartupUnits_win.h"
#include "picture/Picture_win.h"

namespace {

std::vector<std::string> RegisteredExtensions() {
    std::vector<std::string> extensions;
    for (const auto& entry : TPicture::FileFormats().Entries()) extensions.push_back(entry.extension);
    return extensions;
}

}  // namespace

TEST(StartupUnitsTest, FormatsAndHintClassAreInPlaceBeforeAnyWindowAndGoneAfter) {
    TApplication application;
    InitializeProgramUnits(application);
    EXPECT_EQ(RegisteredExtensions(), (std::vector<std::string>{"wmf", "emf", "ico", "bmp", "gif", "jpeg", "jpg", "png"}));
    EXPECT_EQ(application.HintWindowClass(), &MakeHintWindow<TIconHintX>);
    EXPECT_EQ(application.Handle(), nullptr) << "no window exists yet";

    FinalizeProgramUnits();
    EXPECT_EQ(RegisteredExtensions(), (std::vector<std::string>{"wmf", "emf", "ico", "bmp"}));
}

TEST(StartupUnitsTest, IconHintBoxFollowsTheIconAndTheTextBytes) {
    TApplication application;
    TIconHintX hint(&application);
    RECT preview = hint.CalcHintRect(300, "图标预览", nullptr);
    EXPECT_EQ(preview.right - preview.left, GetSystemMetrics(SM_CXICON) + 5 * 8);
    EXPECT_EQ(preview.bottom - preview.top, 2 * GetSystemMetrics(SM_CYICON));
    RECT latin = hint.CalcHintRect(300, "abc", nullptr);
    EXPECT_EQ(latin.right - latin.left, GetSystemMetrics(SM_CXICON) + 15);
}
