#include "app/link_cursor.h"

namespace klipora {
namespace {
HCURSOR loadedLinkCursor = nullptr;
}

void loadLinkCursor(HINSTANCE instance) { loadedLinkCursor = LoadCursorW(instance, L"HAND"); }

HCURSOR linkCursor() {
  return loadedLinkCursor ? loadedLinkCursor : LoadCursorW(nullptr, IDC_ARROW);
}

}  // namespace klipora
