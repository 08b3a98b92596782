// Placeholder menu bar: the window keeps its own menu until the skinned menus are built.
#include "skin/SkinMenuBar_win.h"

#include "skin/SkinForm_win.h"

TMenuBtn::TMenuBtn(TSkinForm& owner, TSkinMenuBar& bar) : TNCObject(owner), bar_(bar) {}
void TMenuBtn::Paint(HDC) {}

TSkinMenuBar::TSkinMenuBar(TSkinForm& window) : window_(window) {}
TSkinMenuBar::~TSkinMenuBar() = default;
void TSkinMenuBar::Rebuild() {}
void TSkinMenuBar::Restore() {}
void TSkinMenuBar::Paint(HDC, const RECT&) {}
TMenuBtn* TSkinMenuBar::ItemAt(POINT) { return nullptr; }
TMenuBtn* TSkinMenuBar::ItemForAccelerator(char) { return nullptr; }
void TSkinMenuBar::OpenBarItem(TMenuBtn&) {}
bool TSkinMenuBar::MenuOpen() const { return false; }
bool TSkinMenuBar::MeasureItem(MEASUREITEMSTRUCT&) { return false; }
bool TSkinMenuBar::DrawItem(const DRAWITEMSTRUCT&) { return false; }

void SetFormMenusSkinned(TSkinForm&, TForm&, bool) {}
