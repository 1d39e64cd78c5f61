#pragma once
// Text output of the UI helper: one "key=value" fact per line, UTF-8, with
// control characters escaped so every fact stays on its line.
#include <windows.h>

#include <string>

namespace klipora::uihelper {

std::string toUtf8(const std::wstring& text);
std::wstring windowText(HWND window);  // WM_GETTEXT: controls of other processes too
// A top-level window's caption as the system keeps it; sends no message, so
// a busy or hung owner cannot stall the search.
std::wstring windowCaption(HWND window);
std::wstring className(HWND window);
std::wstring withoutMnemonics(const std::wstring& text);  // "&Ja" -> "Ja"
std::string escaped(const std::wstring& text);            // \n \r \t and backslash escaped
std::string hex(unsigned long long value);

void fact(const std::string& key, const std::string& value);
void fact(const std::string& key, const std::wstring& value);

}  // namespace klipora::uihelper
