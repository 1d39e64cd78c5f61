#include "app/input_query_layout.h"

#include <cstdint>

namespace klipora {
namespace {

// MulDiv without the system: rounds half away from zero.
int mulDiv(int number, int numerator, int denominator) {
  const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  const std::int64_t half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}

struct Units {
  int x;
  int y;
  int h(int n) const { return mulDiv(n, x, 4); }
  int v(int n) const { return mulDiv(n, y, 8); }
};

}  // namespace

int inputQueryPromptMaxWidth(int textWidth52) { return Units{textWidth52 / 52, 0}.h(164); }

InputQueryLayout layoutInputQuery(const InputQueryMetrics& metrics) {
  const Units u{metrics.textWidth52 / 52, metrics.textHeight};
  InputQueryLayout layout;
  layout.clientWidth = u.h(180);
  layout.prompt = {u.h(8), u.v(8), metrics.promptWidth, metrics.promptHeight};
  layout.edit = {layout.prompt.left, layout.prompt.top + layout.prompt.height + 5, u.h(164),
                 metrics.editHeight};
  const int buttonTop = layout.edit.top + layout.edit.height + 15;
  layout.okButton = {u.h(38), buttonTop, u.h(50), u.v(14)};
  layout.cancelButton = {u.h(92), buttonTop, u.h(50), u.v(14)};
  layout.clientHeight = layout.cancelButton.top + layout.cancelButton.height + 13;
  return layout;
}

}  // namespace klipora
