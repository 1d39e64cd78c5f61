#include "ui_text.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace klipora::uihelper {

std::string toUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring windowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
    return {};
  }
  std::vector<wchar_t> buffer(length + 2);
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG, 2000,
                           &copied)) {
    return {};
  }
  return std::wstring(buffer.data(), std::min<size_t>(copied, buffer.size() - 1));
}

std::wstring windowCaption(HWND window) {
  wchar_t buffer[1024] = {};
  const int length = InternalGetWindowText(window, buffer, 1024);
  return std::wstring(buffer, length > 0 ? length : 0);
}

std::wstring className(HWND window) {
  wchar_t buffer[256] = {};
  const int length = GetClassNameW(window, buffer, 256);
  return std::wstring(buffer, length > 0 ? length : 0);
}

std::wstring withoutMnemonics(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;  // "&&" keeps one '&'
    out += text[i];
  }
  return out;
}

std::string escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'\\':
        out += L"\\\\";
        break;
      case L'\n':
        out += L"\\n";
        break;
      case L'\r':
        out += L"\\r";
        break;
      case L'\t':
        out += L"\\t";
        break;
      default:
        out += c;
    }
  }
  return toUtf8(out);
}

std::string hex(unsigned long long value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%llX", value);
  return buffer;
}

void fact(const std::string& key, const std::string& value) {
  std::printf("%s=%s\n", key.c_str(), value.c_str());
  std::fflush(stdout);
}

void fact(const std::string& key, const std::wstring& value) { fact(key, escaped(value)); }

}  // namespace klipora::uihelper
