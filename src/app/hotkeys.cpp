#include "app/hotkeys.h"

#include "app/message_box.h"
#include "app/strings.h"

namespace klipora {

bool captureKindForHotKey(WPARAM id, capture::TCaptureKind& kind) {
  for (int i = 0; i < 3; ++i) {
    if (id == static_cast<WPARAM>(kHotKeyIds[i])) {
      kind = static_cast<capture::TCaptureKind>(i);
      return true;
    }
  }
  return false;
}

void HotKeys::RegisterHotKeys(const TSettings& settings) {
  UnregisterHotKeys();
  const TShortCut keys[3] = {settings.HotKey1, settings.HotKey2, settings.HotKey3};
  for (int i = 0; i < 3; ++i) {
    if (keys[i] == 0) continue;
    registered_[i] = RegisterHotKey(owner_, kHotKeyIds[i], ShortCutToModifiers(keys[i]),
                                    ShortCutToVirtualKey(keys[i])) != 0;
    if (!registered_[i]) {
      ShowMessageBox(std::string(text::HotKeyRefusedBefore) + ShortCutToText(keys[i]) +
                         text::HotKeyRefusedAfter,
                     "", mkError, btOK);
    }
  }
}

void HotKeys::UnregisterHotKeys() {
  for (int i = 0; i < 3; ++i) {
    if (registered_[i]) UnregisterHotKey(owner_, kHotKeyIds[i]);
  }
  registered_ = {};
}

}  // namespace klipora
