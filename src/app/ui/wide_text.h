#pragma once
// Klipora keeps its text in UTF-8; the W functions of the system want UTF-16.
#include <windows.h>

#include <string>
#include <string_view>

namespace klipora::ui {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

// The text of a window (title or control text) as UTF-8.
std::string windowText(HWND window);

}  // namespace klipora::ui
