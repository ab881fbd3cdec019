#pragma once
// Keyboard shortcuts as a key code with modifier bits, and their text form ("Ctrl+Shift+Del").

#include <QKeyCombination>
#include <QString>

#include <cstdint>

namespace vorn {

// Low byte: the virtual key code; high bits: modifiers.
using TShortCut = uint16_t;

inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

// Virtual key codes the engine names.
namespace VK {
inline constexpr uint16_t Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11,
                          Menu = 0x12, Pause = 0x13, Capital = 0x14, Escape = 0x1B, Space = 0x20,
                          Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26,
                          Right = 0x27, Down = 0x28, Snapshot = 0x2C, Insert = 0x2D, Delete = 0x2E,
                          Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B, Subtract = 0x6D, Decimal = 0x6E,
                          Divide = 0x6F, F1 = 0x70, F24 = 0x87, NumLock = 0x90, Scroll = 0x91;
}  // namespace VK

inline constexpr TShortCut ShortCut(uint16_t Key, bool Shift, bool Ctrl, bool Alt) {
  return static_cast<TShortCut>((Key & 0xFF) | (Shift ? scShift : 0) | (Ctrl ? scCtrl : 0) | (Alt ? scAlt : 0));
}

// "Ctrl+Shift+Alt+Name": the prefixes in that order, then the key's name; empty when the key
// has no name.
QString kxdShortCutToText(TShortCut ShortCut);
// Reads the text form: prefixes in any order and any case, "^" for "Ctrl+"; the key name is
// compared without regard to case with the name of every key code from 8 to 597 and the first
// match wins. No match gives 0.
TShortCut kxdTextToShortCut(const QString& Text);

// Conversions between Qt key events and shortcuts (0 for keys without a virtual key code).
TShortCut ShortCutFromQt(QKeyCombination Key);
QKeyCombination ShortCutToQt(TShortCut ShortCut);

}  // namespace vorn
