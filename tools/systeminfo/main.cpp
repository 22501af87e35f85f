#include <cstdio>

#include "system_facts.h"
#include "system_report.h"

int main() {
  const std::string report =
      quillet::systeminfo::FormatSystemReport(quillet::systeminfo::GatherSystemFacts());
  std::fwrite(report.data(), 1, report.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
