// Feeds arbitrary bytes to what the account client does with a reply: the
// unescaping, the reply reading, the deciphering, and the reading of a
// time site's Date header.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/account/rc4_cipher.h"
#include "core/account/request_protocol.h"
#include "core/account/time_stamp.h"
#include "core/account/unescape_reply.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const quillet::Text unescaped = quillet::UnescapeReply(input);
  Check(unescaped.find('\0') == std::string::npos);

  const quillet::Bytes body(data, data + size);
  quillet::ReadAccountReply(body, true, "");
  quillet::ReadAccountReply(body, false, "key");

  const quillet::Text plain = quillet::DecipherText(input, "QuilletCipherKey");
  Check(plain.find('\0') == std::string::npos);
  // What is enciphered deciphers back to the text up to its first zero byte.
  const quillet::Text text = quillet::TextFromBytes(body);
  Check(quillet::DecipherText(quillet::EncipherText(text, "k"), "k") == text);

  if (const auto stamp = quillet::ServerClockTimeStamp(input)) Check(stamp->size() == 10);
  return 0;
}
