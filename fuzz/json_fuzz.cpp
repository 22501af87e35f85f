// Parse + ToText over arbitrary bytes. In literal mode the JSON text that
// ToText writes must read back to the same text; path operations on the
// parsed value must not crash whatever the path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/script/json_object.h"
#include "core/script/reply_json_object.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  quillet::JsonObject literal;
  literal.Parse(input, true);
  const quillet::Text first = literal.ToText();
  // A parsed U+2400 comes out as a bare backslash by design, so such input
  // cannot read back the same; every other value must.
  if (input.find("\\u2400") == std::string::npos) {
    quillet::JsonObject again;
    again.Parse(first, true);
    if (again.ToText() != first) std::abort();
  }

  quillet::JsonObject evaluated;
  evaluated.Parse(input);
  evaluated.ToText();
  quillet::ReplyJsonObject reply;
  reply.Parse(input);
  reply.GetText("code");

  // The input also serves as a path and as values.
  const std::size_t cut = size / 2;
  const std::string_view path(input.data(), cut);
  const std::string_view value(input.data() + cut, size - cut);
  std::vector<quillet::Text> out;
  literal.GetType(path);
  literal.GetText(path);
  literal.GetText(path, true);
  literal.GetNames(out, path);
  literal.GetNodeValues(out, path, true);
  literal.GetNumber(path);
  literal.GetObject(path).ToText();
  quillet::Text resolved(path);
  literal.ResolvePath(resolved);
  literal.SetValue(path, value);
  literal.SetValue(path, value, true);
  literal.SetJson(path, value);
  literal.AddMember(value, path, true);
  literal.SetMember(static_cast<long>(size % 7) - 3, path, value, true);
  literal.RemoveMember(static_cast<long>(size % 5) - 2, path);
  literal.Delete(path);
  reply.SetValue(path, value, true);
  // Edits keep the value writable and readable again.
  const quillet::Text edited = literal.ToText();
  quillet::JsonObject reread;
  reread.Parse(edited, true);
  reread.ToText();
  return 0;
}
