#pragma once
// The hand cursor that links show, loaded once at start from the program's
// own resources.
#include <windows.h>

namespace klipora {

// Number under which the link cursor is known to the program's widgets.
inline constexpr int crLinkCursor = 17999;

// Loads the "HAND" cursor resource; without it links keep the arrow.
void loadLinkCursor(HINSTANCE instance);
// The link cursor, or the arrow when the resource was missing.
HCURSOR linkCursor();

}  // namespace klipora
