#pragma once
// Geometry of the input query form, derived from the measured form font so
// that it scales with the font and the display's DPI.
namespace klipora {

struct LayoutRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const LayoutRect&) const = default;
};

struct InputQueryMetrics {
  int textWidth52 = 0;  // extent of "A".."Z" followed by "a".."z"
  int textHeight = 0;   // height of that extent
  int promptWidth = 0;  // prompt wrapped at promptMaxWidth()
  int promptHeight = 0;
  int editHeight = 0;
};

struct InputQueryLayout {
  int clientWidth = 0;
  int clientHeight = 0;
  LayoutRect prompt, edit, okButton, cancelButton;
};

// Width at which the prompt wraps, for a 52-letter extent width.
int inputQueryPromptMaxWidth(int textWidth52);
InputQueryLayout layoutInputQuery(const InputQueryMetrics& metrics);

}  // namespace klipora
