#include "app/message_box.h"

#include <windows.h>

#include "app/strings.h"
#include "app/ui/wide_text.h"

namespace klipora {
namespace {

struct KindInfo {
  const char* caption;
  unsigned icon;
};

// Error shows the exclamation mark and warning the stop sign, on purpose.
constexpr KindInfo kKinds[] = {
    {text::CaptionError, MB_ICONEXCLAMATION},     {text::CaptionInformation, MB_ICONASTERISK},
    {text::CaptionQuestion, MB_ICONQUESTION},     {text::CaptionWarning, MB_ICONHAND},
    {text::CaptionConfirmation, MB_ICONQUESTION},
};

constexpr unsigned kButtonFlags[] = {MB_ABORTRETRYIGNORE, MB_OK,    MB_OKCANCEL,
                                     MB_RETRYCANCEL,      MB_YESNO, MB_YESNOCANCEL};

bool knownKind(int kind) { return kind >= mkError && kind <= mkConfirmation; }

}  // namespace

unsigned messageBoxFlags(int kind, std::uint8_t buttons) {
  unsigned flags = MB_SETFOREGROUND;
  if (knownKind(kind)) flags += kKinds[kind].icon;
  for (unsigned bit = 0; bit < std::size(kButtonFlags); ++bit) {
    if (buttons & (1u << bit)) flags += kButtonFlags[bit];
  }
  return flags;
}

std::string messageBoxCaption(const std::string& caption, int kind) {
  if (!caption.empty() || !knownKind(kind)) return caption;
  return kKinds[kind].caption;
}

int ShowMessageBox(const std::string& text, const std::string& caption, int kind,
                   std::uint8_t buttons) {
  return MessageBoxW(GetActiveWindow(), ui::toWide(text).c_str(),
                     ui::toWide(messageBoxCaption(caption, kind)).c_str(),
                     messageBoxFlags(kind, buttons));
}

}  // namespace klipora
