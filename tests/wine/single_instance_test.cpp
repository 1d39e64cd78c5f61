#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "app/ui/handles.h"
#include "app/ui/wide_text.h"
#include "app/ui/window.h"

namespace klipora {
namespace {

ui::WindowHandle makeWindow(const wchar_t* className, const wchar_t* title, DWORD style) {
  // The same registration TMain uses, so the order of the tests does not matter.
  ui::Window::registerClass(className);
  return ui::WindowHandle(CreateWindowExW(0, className, title, style, 0, 0, 10, 10, nullptr,
                                          nullptr, GetModuleHandleW(nullptr), nullptr));
}

TEST(SingleInstanceTest, AcceptsOnlyTheMainFormClassWithStyleBitZeroClear) {
  struct Case {
    const wchar_t* className;
    DWORD style;
    bool accepted;
  };
  const Case cases[] = {
      {L"TMain", WS_OVERLAPPED, true},      {L"TMain", WS_POPUP | WS_CAPTION, true},
      {L"TMain", WS_OVERLAPPED | 1, false}, {L"TMainForm", WS_OVERLAPPED, false},
      {L"TMai", WS_OVERLAPPED, false},      {L"tmain_other", WS_OVERLAPPED, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "class " << ui::toUtf8(c.className) << " style " << c.style);
    const ui::WindowHandle window = makeWindow(c.className, L"Klipora", c.style);
    ASSERT_TRUE(window);
    EXPECT_EQ(IsInstanceMainWindow(window.get()), c.accepted);
  }
}

TEST(SingleInstanceTest, FindsTheWindowTitledKliporaAmongOtherMainForms) {
  // A Klipora running in the same session would be found too; only compare
  // against the windows made here.
  const ui::WindowHandle other = makeWindow(L"TMain", L"Anderes Programm", WS_OVERLAPPED);
  const ui::WindowHandle lowerCase = makeWindow(L"TMain", L"klipora", WS_OVERLAPPED);
  const ui::WindowHandle wrongStyle = makeWindow(L"TMain", L"Klipora", WS_OVERLAPPED | 1);
  HWND found = findInstanceMainWindow();
  EXPECT_TRUE(found != other.get() && found != lowerCase.get() && found != wrongStyle.get());
  const ui::WindowHandle ours = makeWindow(L"TMain", L"Mein Klipora", WS_OVERLAPPED);
  const ui::WindowHandle later = makeWindow(L"TMain", L"Noch etwas", WS_OVERLAPPED);
  if (!found) {
    EXPECT_EQ(findInstanceMainWindow(), ours.get());
  }
}

}  // namespace
}  // namespace klipora
