#pragma once

#include <string_view>

#include "core/text/text.h"

namespace quillet {

// MD5 of `bytes` as 32 hexadecimal digits, lower case unless `upperCase`;
// with `middle16` only digits 9 to 24. Empty when the digest fails.
Text Md5Hex(std::string_view bytes, bool upperCase = false, bool middle16 = false);

// SHA-256 of `bytes` as 64 lower-case hexadecimal digits.
Text Sha256Hex(std::string_view bytes);

// Standard Base64 (RFC 4648) with padding.
Text Base64Encode(std::string_view bytes);

}  // namespace quillet
