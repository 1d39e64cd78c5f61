#pragma once
// Shortcut values as the settings store them: virtual-key code in bits 0-12,
// 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt; 0 means no hotkey.
#include <cstdint>
#include <string>

namespace klipora {

using TShortCut = std::uint16_t;

inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

// The key without the modifier bits.
unsigned ShortCutToVirtualKey(TShortCut shortcut);
// RegisterHotKey's modifiers: MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4.
unsigned ShortCutToModifiers(TShortCut shortcut);

// The German display text: "Umsch+", "Strg+", "Alt+" in this order, then the
// key's name ("Strg+F11").
std::string ShortCutToText(TShortCut shortcut);

}  // namespace klipora
