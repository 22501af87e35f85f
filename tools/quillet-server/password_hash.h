#pragma once

// Passwords are kept as PBKDF2-HMAC-SHA256 with a random salt per account;
// the iteration count is stored with each hash so that it can be raised later.

#include <string>
#include <string_view>

namespace quillet::server {

inline constexpr int kDefaultPasswordIterations = 10000;

struct PasswordHash {
  std::string salt;  // raw bytes
  std::string hash;  // raw bytes
  int iterations = 0;
};

PasswordHash HashPassword(std::string_view password, int iterations);

// Constant-time comparison against a stored hash.
bool VerifyPassword(std::string_view password, const PasswordHash& stored);

// Random bytes as lower-case hexadecimal digits (tokens).
std::string RandomHex(std::size_t byteCount);

// A random decimal code of `digits` digits (e-mail verification).
std::string RandomDigits(std::size_t digits);

}  // namespace quillet::server
