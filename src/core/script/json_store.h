#pragma once

#include "core/script/json_value.h"

namespace quillet {

// What a JsonObject's engine holds: the root value. Copies of an object share
// one store; Parse gives the object a new one.
struct JsonStore {
  json::Value root = json::Value::NewObject();
};

}  // namespace quillet
