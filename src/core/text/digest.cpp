#include "core/text/digest.h"

#include <openssl/evp.h>

#include <memory>

namespace quillet {
namespace {

// Digest of `bytes` as upper-case hexadecimal digits; empty when libcrypto
// fails at any step.
Text HexDigest(const EVP_MD* md, std::string_view bytes) {
  if (md == nullptr) return Text();
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  unsigned char value[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!ctx || EVP_DigestInit_ex(ctx.get(), md, nullptr) != 1 ||
      EVP_DigestUpdate(ctx.get(), bytes.data(), bytes.size()) != 1 ||
      EVP_DigestFinal_ex(ctx.get(), value, &length) != 1) {
    return Text();
  }
  static constexpr char kDigits[] = "0123456789ABCDEF";
  Text hex;
  hex.reserve(length * 2);
  for (unsigned int i = 0; i < length; ++i) {
    hex.push_back(kDigits[value[i] >> 4]);
    hex.push_back(kDigits[value[i] & 0x0F]);
  }
  return hex;
}

void LowerHex(Text& hex) {
  for (char& c : hex) {
    if (c >= 'A' && c <= 'F') c = char(c + 32);
  }
}

}  // namespace

Text Md5Hex(std::string_view bytes, bool upperCase, bool middle16) {
  Text hex = HexDigest(EVP_md5(), bytes);
  if (hex.size() != 32) return Text();
  if (!upperCase) LowerHex(hex);
  if (middle16) hex = hex.substr(8, 16);
  return hex;
}

Text Sha256Hex(std::string_view bytes) {
  Text hex = HexDigest(EVP_sha256(), bytes);
  LowerHex(hex);
  return hex;
}

Text Base64Encode(std::string_view bytes) {
  // Whole groups of three bytes per call keep the padding at the very end and
  // each length within the int that libcrypto takes.
  constexpr std::size_t kChunk = 3 * 1024 * 1024;
  Text out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  std::size_t used = 0;
  for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
    const std::string_view part = bytes.substr(at, kChunk);
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data() + used),
                                        reinterpret_cast<const unsigned char*>(part.data()),
                                        static_cast<int>(part.size()));
    if (written < 0) return Text();
    used += static_cast<std::size_t>(written);
  }
  out.resize(used);
  return out;
}

}  // namespace quillet
