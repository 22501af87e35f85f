#pragma once

// The account client's reply object: JsonObject's value model and operations
// with a reduced set. Parse always evaluates; object-mode SetValue merges into
// whatever value it finds; AddMember always appends; no Exists and no
// GetNodeValues.

#include "core/script/json_object.h"

namespace quillet {

class ReplyJsonObject : private JsonObject {
 public:
  ReplyJsonObject();

  using JsonObject::Clear;
  using JsonObject::Delete;
  using JsonObject::Destroy;
  using JsonObject::GetCount;
  using JsonObject::GetEngine;
  using JsonObject::GetJsonText;
  using JsonObject::GetMemberText;
  using JsonObject::GetNames;
  using JsonObject::GetNumber;
  using JsonObject::GetText;
  using JsonObject::GetType;
  using JsonObject::Initialize;
  using JsonObject::RemoveMember;
  using JsonObject::ResolvePath;
  using JsonObject::SetJson;
  using JsonObject::SetMember;
  using JsonObject::SetNumber;
  using JsonObject::SetValue;
  using JsonObject::ToText;

  ReplyJsonObject Copy() const;
  bool Parse(std::string_view text);
  ReplyJsonObject GetObject(std::string_view path) const;
  bool AddMember(std::string_view value, std::string_view path = {}, bool isLiteral = false);
  ReplyJsonObject GetMemberObject(long index, std::string_view path = {}) const;
};

}  // namespace quillet
