#include "core/script/json_merge.h"

#include <string>

namespace quillet::json {

namespace {

void MergeMember(Object& target, const std::string& name, Value& source) {
  Value& slot = target.Emplace(name);
  if (slot.kind() == Kind::kObject || slot.kind() == Kind::kArray) {
    Extend(slot, source);
  } else {
    slot = std::move(source);
  }
}

}  // namespace

void Extend(Value& target, Value& source) {
  if (target.kind() == Kind::kArray) {
    if (source.kind() != Kind::kArray) return;
    Array& out = target.AsArray();
    for (Value& element : source.AsArray()) out.push_back(std::move(element));
    return;
  }
  if (target.kind() != Kind::kObject) return;
  Object& object = target.AsObject();
  if (source.kind() == Kind::kObject) {
    for (Member& m : source.AsObject().Members()) MergeMember(object, m.name, m.value);
  } else if (source.kind() == Kind::kArray) {
    Array& elements = source.AsArray();
    for (std::size_t i = 0; i < elements.size(); ++i) {
      if (!elements[i].IsAbsent()) MergeMember(object, std::to_string(i), elements[i]);
    }
  }
}

}  // namespace quillet::json
