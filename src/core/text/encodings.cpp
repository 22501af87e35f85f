#include "core/text/encodings.h"

#include "core/text/transcoder.h"

namespace quillet {
namespace {

using detail::Charset;
using detail::CharsetKind;

const Charset& GbkCharset() {
  static const Charset kGbk{"CP936", CharsetKind::kOther};
  return kGbk;
}
const Charset& Utf8Charset() {
  static const Charset kUtf8{"UTF-8", CharsetKind::kUtf8};
  return kUtf8;
}
const Charset& Utf16Charset() {
  static const Charset kUtf16{"UTF-16LE", CharsetKind::kUtf16Le};
  return kUtf16;
}

std::string_view AsChars(const Bytes& bytes) {
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Converts the input up to its terminator; false (and nothing) when a
// character set is unknown.
template <typename Buffer>
bool Convert(std::string_view input, const Charset& from, const Charset& to, Buffer& out) {
  if (detail::Transcode(detail::CutAtTerminator(input, from.kind), from, to, out)) return true;
  out.clear();
  return false;
}

std::string Convert(std::string_view input, const Charset& from, const Charset& to) {
  std::string out;
  Convert(input, from, to, out);
  return out;
}

Bytes ToUtf16(std::string_view text, const Charset& from, bool terminate) {
  Bytes out;
  if (!Convert(text, from, Utf16Charset(), out)) return Bytes();
  if (terminate) out.insert(out.end(), {0, 0});
  return out;
}

}  // namespace

Bytes AnsiToUtf16(std::string_view text, bool dropTerminator) {
  if (detail::CutAtTerminator(text, CharsetKind::kOther).empty()) return Bytes();
  return ToUtf16(text, GbkCharset(), !dropTerminator);
}

Text Utf16ToAnsi(const Bytes& utf16) {
  return Convert(AsChars(utf16), Utf16Charset(), GbkCharset());
}

Bytes MultiByteToUtf16(std::string_view text, unsigned codePage) {
  const Charset from = detail::CharsetFromCodePage(codePage);
  if (from.iconvName.empty()) return Bytes();
  return ToUtf16(text, from, true);
}

Text Utf16ToMultiByte(const Bytes& utf16, unsigned codePage) {
  const Charset to = detail::CharsetFromCodePage(codePage);
  if (to.iconvName.empty()) return Text();
  return Convert(AsChars(utf16), Utf16Charset(), to);
}

Text Utf8ToAnsi(std::string_view utf8) { return Convert(utf8, Utf8Charset(), GbkCharset()); }

Text Utf8BytesToAnsi(const Bytes& utf8) { return Utf8ToAnsi(AsChars(utf8)); }

Text AnsiToUtf8(std::string_view text) { return Convert(text, GbkCharset(), Utf8Charset()); }

std::string ConvertCharset(std::string_view input, const char* fromCharset, const char* toCharset) {
  if (fromCharset == nullptr || toCharset == nullptr) return std::string(input);
  const Charset from = detail::CharsetFromName(fromCharset);
  const Charset to = detail::CharsetFromName(toCharset);
  std::string out;
  if (!detail::Transcode(detail::CutAtTerminator(input, from.kind), from, to, out)) {
    return std::string(input);
  }
  return out;
}

}  // namespace quillet
