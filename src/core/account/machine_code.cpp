#include "core/account/machine_code.h"

#include <cstdio>

#include "core/text/digest.h"

namespace quillet {
namespace {

constexpr char kNoAdapterText[] = "10-11-11-11-11-11";

Text WithoutDashes(const Text& text) { return TextReplace(text, "-", ""); }

}  // namespace

Text ProcessorText(const MachineIdentity& identity) {
  const auto words = identity.ProcessorWords();
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%08X-%08X-%08X-%08X", static_cast<unsigned>(words[0]),
                static_cast<unsigned>(words[1]), static_cast<unsigned>(words[2]),
                static_cast<unsigned>(words[3]));
  return Text(buffer).substr(0, 18);
}

Text AdapterText(const MachineIdentity& identity) {
  const auto address = identity.FirstAdapterAddress();
  if (!address) return kNoAdapterText;
  const auto& a = *address;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02X-%02X-%02X-%02X-%02X-%02X", a[0], a[1], a[2], a[3],
                a[4], a[5]);
  return buffer;
}

Text ComputeMachineCode(const MachineIdentity& identity, bool shortForm) {
  Text joined = WithoutDashes(AdapterText(identity)) + WithoutDashes(ProcessorText(identity));
  for (char& c : joined) {
    // "0" becomes "J", "1" to "9" become "A" to "I"; the letters stay.
    if (c == '0') {
      c = 'J';
    } else if (c >= '1' && c <= '9') {
      c = static_cast<char>(c + 16);
    }
  }
  return Md5Hex(joined, /*upperCase=*/true, /*middle16=*/shortForm);
}

}  // namespace quillet
