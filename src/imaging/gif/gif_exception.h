#pragma once
// The error class of the GIF code. Its texts are English, as the file format's
// own diagnostics; callers put them into their German messages.
#include "base/error.h"

namespace klipora::imaging::gif {

class GIFException : public Error {
 public:
  using Error::Error;
};

}  // namespace klipora::imaging::gif
