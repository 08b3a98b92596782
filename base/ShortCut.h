#pragma once
// Keyboard shortcuts of menu items, stored as one 16-bit value: the virtual-key code in the
// low byte and the modifier flags above it (Ctrl+Q is 0x4000 | 'Q' = 16465).
#include <cstdint>
#include <string>

using TShortCut = uint16_t;

enum TShiftStateFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

// The virtual-key codes the program names in its shortcuts (the values Windows uses).
namespace VirtualKey {
constexpr uint16_t F1 = 0x70;
constexpr uint16_t F24 = 0x87;
}  // namespace VirtualKey

// Combines a virtual-key code with shift state; 0 for a key code outside one byte.
TShortCut ShortCut(uint16_t key, TShiftState shift);
uint16_t ShortCutKey(TShortCut shortCut);
TShiftState ShortCutShift(TShortCut shortCut);
// The text a menu shows beside its item: "Ctrl+Q", "F1", "Shift+Ctrl+F5"; empty for none.
std::string ShortCutToText(TShortCut shortCut);
