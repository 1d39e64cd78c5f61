#pragma once
// Every program message reaches the user through ShowMessageBox.
#include <cstdint>
#include <string>

namespace klipora {

enum TMessageKind : int { mkError, mkInformation, mkQuestion, mkWarning, mkConfirmation };

// Button layouts as a one-byte bit set; callers pass exactly one element.
using TMessageButtons = std::uint8_t;
inline constexpr TMessageButtons btAbortRetryIgnore = 0x01;
inline constexpr TMessageButtons btOK = 0x02;
inline constexpr TMessageButtons btOKCancel = 0x04;
inline constexpr TMessageButtons btRetryCancel = 0x08;
inline constexpr TMessageButtons btYesNo = 0x10;
inline constexpr TMessageButtons btYesNoCancel = 0x20;

// The MessageBox flags for a kind and a button set; an unknown kind adds no icon.
unsigned messageBoxFlags(int kind, std::uint8_t buttons);
// The caption shown: the given one, or the kind's own when it is empty.
std::string messageBoxCaption(const std::string& caption, int kind);

// Shows a system message box owned by the thread's active window and returns
// its result (IDOK, IDCANCEL, IDYES, IDNO, ...).
int ShowMessageBox(const std::string& text, const std::string& caption, int kind,
                   std::uint8_t buttons);

}  // namespace klipora
