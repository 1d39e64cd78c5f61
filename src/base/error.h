#pragma once
// The one error type the program raises: it carries a text that can be shown
// to the user as it is (UTF-8).
#include <stdexcept>
#include <string>

namespace klipora {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace klipora
