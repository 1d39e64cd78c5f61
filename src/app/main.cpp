#include <windows.h>
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr, L"Klipora läuft", L"Klipora", MB_OK);
  return 0;
}
