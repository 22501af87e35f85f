#pragma once

// The machine code sent as "markcode": an MD5 over the first adapter's
// hardware address and the processor signature, digits mapped to letters.

#include "core/platform/machine_identity.h"
#include "core/text/text.h"

namespace quillet {

// The processor text: the four words as 8 upper-case hexadecimal digits each,
// joined by "-", cut to its first 18 characters.
Text ProcessorText(const MachineIdentity& identity);

// "XX-XX-XX-XX-XX-XX", or "10-11-11-11-11-11" without an adapter.
Text AdapterText(const MachineIdentity& identity);

// 32 upper-case hexadecimal digits, or the middle 16 when `shortForm`.
Text ComputeMachineCode(const MachineIdentity& identity, bool shortForm);

}  // namespace quillet
