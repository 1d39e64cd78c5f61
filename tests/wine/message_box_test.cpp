#include "app/message_box.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace klipora {
namespace {

TEST(MessageBoxTest, FlagsAndCaptionPerKindAndButtons) {
  struct Case {
    int kind;
    std::uint8_t buttons;
    unsigned flags;
    const char* caption;
  };
  // Error shows the exclamation mark, warning the stop sign.
  const Case cases[] = {
      {mkError, btOK, MB_SETFOREGROUND | MB_ICONEXCLAMATION | MB_OK, "Fehler"},
      {mkInformation, btOKCancel, MB_SETFOREGROUND | MB_ICONASTERISK | MB_OKCANCEL, "Information"},
      {mkQuestion, btYesNo, MB_SETFOREGROUND | MB_ICONQUESTION | MB_YESNO, "Frage"},
      {mkWarning, btRetryCancel, MB_SETFOREGROUND | MB_ICONHAND | MB_RETRYCANCEL, "Warnung"},
      {mkConfirmation, btYesNoCancel, MB_SETFOREGROUND | MB_ICONQUESTION | MB_YESNOCANCEL,
       "Bestätigung"},
      {mkError, btAbortRetryIgnore, MB_SETFOREGROUND | MB_ICONEXCLAMATION | MB_ABORTRETRYIGNORE,
       "Fehler"},
      {7, btOK, MB_SETFOREGROUND | MB_OK, ""},
      {-1, btYesNo, MB_SETFOREGROUND | MB_YESNO, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " buttons " << int(c.buttons));
    EXPECT_EQ(messageBoxFlags(c.kind, c.buttons), c.flags);
    EXPECT_EQ(messageBoxCaption("", c.kind), c.caption);
    EXPECT_EQ(messageBoxCaption("Eigene", c.kind), "Eigene");
  }
}

}  // namespace
}  // namespace klipora
