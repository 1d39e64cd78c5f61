#include "app/shortcut.h"

#include <gtest/gtest.h>

namespace klipora {
namespace {

TEST(ShortCut, SplitsIntoKeyAndHotkeyModifiersAndNamesItInGerman) {
  struct Case {
    TShortCut value;
    unsigned key;
    unsigned modifiers;
    const char* text;
  };
  const Case cases[] = {
      {16506, 0x7A, 2, "Strg+F11"},
      {122, 0x7A, 0, "F11"},
      {32890, 0x7A, 1, "Alt+F11"},
      {0x2000 | 0x4000 | 0x8000 | 'P', 'P', 7, "Umsch+Strg+Alt+P"},
      {0x2000 | 0x2E, 0x2E, 4, "Umsch+Entf"},
      {0x4000 | '5', '5', 2, "Strg+5"},
      {0x2C, 0x2C, 0, "Druck"},
      {0x87, 0x87, 0, "F24"},
      {0x1FFF, 0x1FFF, 0, "Taste 8191"},
      {0, 0, 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortCutToVirtualKey(c.value), c.key) << c.value;
    EXPECT_EQ(ShortCutToModifiers(c.value), c.modifiers) << c.value;
    EXPECT_EQ(ShortCutToText(c.value), c.text) << c.value;
  }
}

}  // namespace
}  // namespace klipora
