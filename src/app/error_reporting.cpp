#include "app/error_reporting.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

#include "app/message_box.h"
#include "app/strings.h"
#include "base/error.h"

namespace klipora {
namespace {

std::string currentExceptionText() {
  try {
    throw;
  } catch (const std::exception& e) {
    // klipora::Error is a std::exception: its text is already user-ready.
    return e.what();
  } catch (...) {
    return text::UnknownError;
  }
}

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* info) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX",
                static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode));
  ShowMessageBox(std::string(text::CrashBefore) + code + text::CrashAfter, "", mkError, btOK);
  return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void onTerminate() {
  std::string message = text::UnknownError;
  if (std::exception_ptr pending = std::current_exception()) {
    try {
      std::rethrow_exception(pending);
    } catch (...) {
      message = currentExceptionText();
    }
  }
  ShowMessageBox(message + text::ProgramEnds, "", mkError, btOK);
  ExitProcess(3);
}

}  // namespace

void reportCurrentException() noexcept {
  try {
    ShowMessageBox(currentExceptionText(), "", mkError, btOK);
  } catch (...) {
    // Not even the message could be shown (out of memory): nothing else is left to try.
  }
}

void installCrashHandlers() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(onUnhandledException);
  std::set_terminate(onTerminate);
}

}  // namespace klipora
