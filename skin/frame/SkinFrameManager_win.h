#pragma once
// What a skinned window's frame asks of the skin manager: whether a drawn menu bar's menu is
// open, the multiple-document children's maximised mark, the icon of another skin's windows
// and the dressing of multiple-document children as they come and go.
#include <windows.h>

class TSkinData;

namespace SkinFrameManager {

bool MenuOpen();
bool ChildrenMaximized();
void SetChildrenMaximized(bool maximized);
// The last main-form skin data whose windows share an icon picture, or nullptr.
TSkinData* IconDonor();
void SkinWindow(HWND window);
void UnskinWindow(HWND window);

}  // namespace SkinFrameManager
