#include "core/script/reply_json_object.h"

namespace quillet {

ReplyJsonObject::ReplyJsonObject() : JsonObject(Variant::kReply) {}

ReplyJsonObject ReplyJsonObject::Copy() const { return *this; }

bool ReplyJsonObject::Parse(std::string_view text) { return ParseText(text, false); }

ReplyJsonObject ReplyJsonObject::GetObject(std::string_view path) const {
  ReplyJsonObject copy;
  copy.Parse(JsonTextOf(path, false, 0));
  return copy;
}

bool ReplyJsonObject::AddMember(std::string_view value, std::string_view path, bool isLiteral) {
  return AppendMember(value, path, isLiteral, false);
}

ReplyJsonObject ReplyJsonObject::GetMemberObject(long index, std::string_view path) const {
  ReplyJsonObject copy;
  copy.Parse(JsonTextOf(path, true, index));
  return copy;
}

}  // namespace quillet
