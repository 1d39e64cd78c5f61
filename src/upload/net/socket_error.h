#pragma once
// Network failures carry the Windows Sockets error number and its
// description, whatever platform the code runs on.
#include <string>

#include "base/error.h"

namespace klipora::net {

class SocketError : public Error {
 public:
  explicit SocketError(int code);
  int code() const { return code_; }

 private:
  int code_;
};

// "Socket Error # %d\r\n%s" with the description of a Windows socket code.
std::string socketErrorText(int code);

// Windows socket codes used outside the platform seam.
inline constexpr int kHostNotFound = 11001;

}  // namespace klipora::net
