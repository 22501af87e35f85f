// Feeds arbitrary bytes to the text primitives and the encodings. The first
// byte splits the rest into a text and a search text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/text/encodings.h"
#include "core/text/text.h"

namespace {

using quillet::Bytes;
using quillet::Text;

void Check(bool ok) {
  if (!ok) std::abort();
}

bool IsBoundary(std::string_view text, std::size_t at) {
  std::size_t i = 0;
  while (i < at)
    i += (quillet::IsLeadByte(static_cast<std::uint8_t>(text[i])) && i + 1 < text.size()) ? 2 : 1;
  return i == at;
}

bool HasReplacementUnit(const Bytes& utf16) {
  for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
    if (utf16[i] == 0xFD && utf16[i + 1] == 0xFF) return true;
  }
  return false;
}

void CheckConversions(std::string_view input) {
  const Text text(input.substr(0, input.find('\0')));

  // Valid code page 936 survives the trip through UTF-16 and through UTF-8.
  const Bytes wide = quillet::AnsiToUtf16(text, true);
  Check(wide.size() % 2 == 0);
  if (!HasReplacementUnit(wide)) {
    Check(quillet::Utf16ToAnsi(wide) == text);
    Check(quillet::Utf8ToAnsi(quillet::AnsiToUtf8(text)) == text);
  }

  const Bytes raw(input.begin(), input.end());
  const Text fromWide = quillet::Utf16ToAnsi(raw);
  Check(fromWide.find('\0') == Text::npos);
  const Text fromUtf8 = quillet::Utf8BytesToAnsi(raw);
  Check(fromUtf8.find('\0') == Text::npos);
  quillet::Utf16ToMultiByte(raw, quillet::kCodePageUtf8);
  quillet::MultiByteToUtf16(input, quillet::kCodePageGbk);
  quillet::ConvertCharset(input, "big5", "gbk");

  Check(quillet::UrlDecode(input, true).find('\0') == Text::npos);
  quillet::UrlDecode(input, false);
}

void CheckSearch(std::string_view text, std::string_view what, bool ignoreCase) {
  const long at = quillet::TextFind(text, what, 1, ignoreCase);
  if (!what.empty() && at != -1) {
    Check(at >= 1 && static_cast<std::size_t>(at - 1) + what.size() <= text.size());
    Check(IsBoundary(text, static_cast<std::size_t>(at - 1)));
    Check(ignoreCase || text.substr(static_cast<std::size_t>(at - 1), what.size()) == what);
  }
  const long last = quillet::TextFindLast(text, what, 0, ignoreCase);
  Check((at == -1) == (last == -1));
  Check(last == -1 || last >= at);

  if (!what.empty()) {
    // Joining the pieces gives the text back, less one trailing separator.
    const auto pieces = quillet::TextSplit(text, what);
    Text joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) joined += (i ? Text(what) : Text()) + pieces[i];
    Check(joined == text || joined + Text(what) == text);
  }
  quillet::TextReplace(text, what, "x", 2, 3, ignoreCase);
  quillet::TextBetween(text, what, what.substr(0, what.size() / 2), 1, ignoreCase);
  quillet::TextAfterLast(text, what, -2);
  quillet::CountOccurrences(text, what, ignoreCase);
  quillet::TextTrim(text);
  quillet::TextUpper(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view all(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t split = data[0] % (all.size() + 1);
  CheckConversions(all);
  CheckSearch(all.substr(0, split), all.substr(split), (data[0] & 0x80) != 0);
  CheckSearch(all, all.substr(split, 3), (data[0] & 0x40) != 0);
  return 0;
}
