#pragma once

#include <string>

#include "system_facts.h"

namespace quillet::systeminfo {

// The report in the layout of the Windows command: Chinese labels padded to
// one column, continuation lines indented below their value. UTF-8.
std::string FormatSystemReport(const SystemFacts& facts);

}  // namespace quillet::systeminfo
