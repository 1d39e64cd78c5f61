#pragma once
// Progress notifications of the GIF object: the screenshot window drives its
// progress bar from them.
#include <cstdint>
#include <string_view>

namespace klipora::imaging::gif {

enum ProgressStage { ProgressStart, ProgressRunning, ProgressEnd };

class GifProgressReceiver {
 public:
  virtual ~GifProgressReceiver() = default;
  virtual void onProgress(const void* sender, ProgressStage stage, int percent,
                          std::string_view message) = 0;
};

// The nearest whole percent of part / whole (halves round up).
inline int progressPercent(std::uint64_t part, std::uint64_t whole) {
  if (whole == 0) return 0;
  return static_cast<int>((part * 200 + whole) / (2 * whole));
}

// Sends Start on creation, End with 100 from finish(), and End with 0 when a
// failure unwinds the operation before that.
class ProgressScope {
 public:
  ProgressScope(GifProgressReceiver* receiver, const void* sender, std::string_view message)
      : receiver_(receiver), sender_(sender), message_(message) {
    notify(ProgressStart, 0);
  }
  ~ProgressScope() {
    if (finished_) return;
    try {
      notify(ProgressEnd, 0);
    } catch (...) {
      // The failure that unwinds us is the one the caller must see.
    }
  }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

  void running(int percent) { notify(ProgressRunning, percent); }
  void finish() {
    finished_ = true;
    notify(ProgressEnd, 100);
  }

 private:
  void notify(ProgressStage stage, int percent) {
    if (receiver_) receiver_->onProgress(sender_, stage, percent, message_);
  }

  GifProgressReceiver* receiver_;
  const void* sender_;
  std::string_view message_;
  bool finished_ = false;
};

}  // namespace klipora::imaging::gif
