#pragma once

#include <vector>

#include "core/text/text.h"

namespace quillet {

// Where JDKs live on this machine.
class JdkLocator {
 public:
  virtual ~JdkLocator() = default;
  // True when `folder` holds a Java compiler the system can start (bin/javac).
  virtual bool HoldsCompiler(const Text& folder) = 0;
  // Installed JDK folders worth offering first in the folder dialog, best
  // first, without duplicates.
  virtual std::vector<Text> Candidates() = 0;
};

}  // namespace quillet
