#include "ui_input.h"

#include <cwctype>
#include <optional>
#include <vector>

namespace klipora::uihelper {
namespace {

std::wstring lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::optional<WORD> virtualKey(const std::wstring& name) {
  struct Named {
    const wchar_t* name;
    WORD key;
  };
  static const Named named[] = {
      {L"alt", VK_MENU},      {L"ctrl", VK_CONTROL},   {L"control", VK_CONTROL},
      {L"shift", VK_SHIFT},   {L"win", VK_LWIN},       {L"enter", VK_RETURN},
      {L"return", VK_RETURN}, {L"escape", VK_ESCAPE},  {L"esc", VK_ESCAPE},
      {L"tab", VK_TAB},       {L"space", VK_SPACE},    {L"backspace", VK_BACK},
      {L"delete", VK_DELETE}, {L"print", VK_SNAPSHOT}, {L"printscreen", VK_SNAPSHOT},
      {L"left", VK_LEFT},     {L"right", VK_RIGHT},    {L"up", VK_UP},
      {L"down", VK_DOWN},     {L"home", VK_HOME},      {L"end", VK_END},
  };
  const std::wstring key = lower(name);
  for (const auto& entry : named) {
    if (key == entry.name) return entry.key;
  }
  if (key.size() >= 2 && key[0] == L'f') {
    const int n = _wtoi(key.c_str() + 1);
    if (n >= 1 && n <= 24) return static_cast<WORD>(VK_F1 + n - 1);
  }
  if (key.size() == 1 && std::iswalnum(key[0])) return static_cast<WORD>(std::towupper(key[0]));
  return std::nullopt;
}

INPUT keyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

bool bringToForeground(HWND window) {
  for (int attempt = 0; attempt < 40; ++attempt) {
    if (GetForegroundWindow() == window) return true;
    SetForegroundWindow(window);
    Sleep(50);
  }
  return GetForegroundWindow() == window;
}

bool pressChord(const std::wstring& chord) {
  std::vector<WORD> keys;
  size_t start = 0;
  while (start <= chord.size()) {
    size_t end = chord.find(L'+', start);
    if (end == std::wstring::npos) end = chord.size();
    const auto key = virtualKey(chord.substr(start, end - start));
    if (!key) return false;
    keys.push_back(*key);
    start = end + 1;
  }
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(keyInput(key, false));
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) inputs.push_back(keyInput(*it, true));
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool typeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool clickWithMouse(HWND window) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return false;
  const int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3] = {};
  for (auto& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, width - 1);
    input.mi.dy = MulDiv(y, 65535, height - 1);
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  return SendInput(3, inputs, sizeof(INPUT)) == 3;
}

}  // namespace klipora::uihelper
