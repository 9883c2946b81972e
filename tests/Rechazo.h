// The text of a refusal: what the user is told when an operation cannot go on.
#pragma once

#include <string>

#include "geometry/UserError.h"

namespace qv::testing {

// The message of the UserError that f throws, "" when f returns.
template <typename F>
std::string Refusal(F f) {
  try {
    f();
  } catch (const UserError& e) {
    return e.what();
  }
  return "";
}

}  // namespace qv::testing
