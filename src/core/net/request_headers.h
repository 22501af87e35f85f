#pragma once

// The ordered header lines of one request, set by name and value the way a
// request object's SetRequestHeader works: a second value for the same name
// (ASCII case ignored) replaces the first in place.

#include <string>
#include <string_view>
#include <vector>

#include "core/text/text.h"

namespace quillet {

class RequestHeaders {
 public:
  // False (and nothing set) for a name that is not an HTTP token or a value
  // holding CR or LF, which would let a caller's text smuggle in lines.
  bool Set(std::string_view name, std::string_view value);
  // Adds a "Name: value" line as given after the same checks on its name
  // and value; false when it does not qualify.
  bool AddLine(std::string_view line);
  bool Has(std::string_view name) const;
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

bool IsHeaderName(std::string_view name);

}  // namespace quillet
