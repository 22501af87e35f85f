#include "password_hash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>

namespace quillet::server {
namespace {

constexpr std::size_t kSaltBytes = 16;
constexpr std::size_t kHashBytes = 32;

std::string RandomBytes(std::size_t count) {
  std::string bytes(count, '\0');
  if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(count)) != 1) {
    // Without a working random source no token or salt may be issued.
    throw std::runtime_error("no random bytes available");
  }
  return bytes;
}

std::string Derive(std::string_view password, std::string_view salt, int iterations) {
  std::string out(kHashBytes, '\0');
  if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                        reinterpret_cast<const unsigned char*>(salt.data()),
                        static_cast<int>(salt.size()), iterations, EVP_sha256(),
                        static_cast<int>(out.size()),
                        reinterpret_cast<unsigned char*>(out.data())) != 1) {
    throw std::runtime_error("password hashing failed");
  }
  return out;
}

}  // namespace

PasswordHash HashPassword(std::string_view password, int iterations) {
  PasswordHash result;
  result.salt = RandomBytes(kSaltBytes);
  result.iterations = iterations < 1 ? 1 : iterations;
  result.hash = Derive(password, result.salt, result.iterations);
  return result;
}

bool VerifyPassword(std::string_view password, const PasswordHash& stored) {
  if (stored.hash.size() != kHashBytes || stored.iterations < 1) return false;
  const std::string derived = Derive(password, stored.salt, stored.iterations);
  return CRYPTO_memcmp(derived.data(), stored.hash.data(), kHashBytes) == 0;
}

std::string RandomHex(std::size_t byteCount) {
  static constexpr char kHex[] = "0123456789abcdef";
  const std::string bytes = RandomBytes(byteCount);
  std::string hex;
  for (unsigned char b : bytes) {
    hex.push_back(kHex[b >> 4]);
    hex.push_back(kHex[b & 0x0F]);
  }
  return hex;
}

std::string RandomDigits(std::size_t digits) {
  std::string out;
  while (out.size() < digits) {
    for (unsigned char b : RandomBytes(digits)) {
      if (b < 250 && out.size() < digits) out.push_back(static_cast<char>('0' + b % 10));
    }
  }
  return out;
}

}  // namespace quillet::server
