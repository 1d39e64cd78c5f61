#pragma once
// The one place where an error that no command handled reaches the user.
// Every window procedure runs its handler through guardedCall, so an escaped
// error becomes a message box and the program keeps running.
#include <utility>

namespace klipora {

// Shows the exception being handled (call only inside a catch block):
// klipora::Error and std::exception with their own text, anything else with
// a generic German sentence.
void reportCurrentException() noexcept;

// Runs fn(); an exception it throws is reported and `fallback` returned.
template <typename Fn, typename Result>
Result guardedCall(Fn&& fn, Result fallback) noexcept {
  try {
    return std::forward<Fn>(fn)();
  } catch (...) {
    reportCurrentException();
    return fallback;
  }
}

template <typename Fn>
void guardedCall(Fn&& fn) noexcept {
  try {
    std::forward<Fn>(fn)();
  } catch (...) {
    reportCurrentException();
  }
}

// Last resort for crashes and for exceptions that escape where nothing can
// catch them: a message box instead of the platform's crash dialog, then
// the process ends.
void installCrashHandlers();

}  // namespace klipora
