#include "app/input_query_layout.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace klipora {
namespace {

// The form is laid out in units of the measured font; every size must come
// out as the system's MulDiv rounds it, for any font.
TEST(InputQueryLayoutTest, FollowsTheFontUnitsForManyFonts) {
  for (int x = 4; x <= 12; ++x) {
    for (int y = 11; y <= 24; y += 3) {
      SCOPED_TRACE(testing::Message() << "X " << x << " Y " << y);
      const InputQueryMetrics metrics{x * 52 + 51, y, 100, 2 * y, y + 8};
      const InputQueryLayout layout = layoutInputQuery(metrics);
      const auto h = [x](int n) { return MulDiv(n, x, 4); };
      const auto v = [y](int n) { return MulDiv(n, y, 8); };
      EXPECT_EQ(inputQueryPromptMaxWidth(metrics.textWidth52), h(164));
      EXPECT_EQ(layout.clientWidth, h(180));
      EXPECT_EQ(layout.prompt, (LayoutRect{h(8), v(8), 100, 2 * y}));
      EXPECT_EQ(layout.edit, (LayoutRect{h(8), v(8) + 2 * y + 5, h(164), y + 8}));
      const int buttonTop = layout.edit.top + y + 8 + 15;
      EXPECT_EQ(layout.okButton, (LayoutRect{h(38), buttonTop, h(50), v(14)}));
      EXPECT_EQ(layout.cancelButton, (LayoutRect{h(92), buttonTop, h(50), v(14)}));
      EXPECT_EQ(layout.clientHeight, buttonTop + v(14) + 13);
    }
  }
}

}  // namespace
}  // namespace klipora
