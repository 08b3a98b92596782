// Placeholder painters: controls keep their system look until the control painters are built.
#include "skin/SkinControl_win.h"

#include "skin/SkinForm_win.h"

TSkinControl::TSkinControl(TSkinForm& window) : TComponent(nullptr), window_(window) {}
TSkinControl::~TSkinControl() = default;
void TSkinControl::AttachControl(TWinControl& control, TSkinData& skinData, bool) {
    control_ = &control;
    skinData_ = &skinData;
}
void TSkinControl::AttachHandle(HWND handle, TSkinData& skinData) {
    handle_ = handle;
    skinData_ = &skinData;
}
void TSkinControl::Release() {}
bool TSkinControl::BeforeMessage(TMessage&) { return true; }
void TSkinControl::AfterMessage(TMessage&) {}
void TSkinControl::Repaint() {}
void TSkinControl::Paint(HDC, const RECT&) {}
void TSkinControl::SkinChanged() {}

void SkinFormControls(TSkinForm&, TComponent&) {}
void SkinChildWindows(TSkinForm&) {}
TSkinControl* FindControlPainter(TSkinForm&, HWND) { return nullptr; }
void ReleaseSkinControls(TSkinForm& window) { window.Controls().clear(); }
void RefreshSkinControls(TSkinForm&) {}
void CheckHotControlLeft(TSkinForm&, POINT) {}
