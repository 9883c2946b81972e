// A failure the user can cause: carries the message text the window shows in a message box.
#pragma once

#include <stdexcept>
#include <string>

namespace qv {

class UserError : public std::runtime_error {
 public:
  explicit UserError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace qv
