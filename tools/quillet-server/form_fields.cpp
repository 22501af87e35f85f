#include "form_fields.h"

namespace quillet::server {

std::vector<std::pair<std::string, std::string>> SplitFormBody(std::string_view body) {
  std::vector<std::pair<std::string, std::string>> fields;
  if (body.empty()) return fields;
  std::size_t begin = 0;
  while (begin <= body.size()) {
    std::size_t end = body.find('&', begin);
    if (end == std::string_view::npos) end = body.size();
    const std::string_view piece = body.substr(begin, end - begin);
    const std::size_t eq = piece.find('=');
    if (eq == std::string_view::npos) {
      fields.emplace_back(std::string(piece), std::string());
    } else {
      fields.emplace_back(std::string(piece.substr(0, eq)), std::string(piece.substr(eq + 1)));
    }
    begin = end + 1;
  }
  return fields;
}

std::optional<std::vector<std::string>> ReadOrderedFields(std::string_view body,
                                                          std::span<const std::string_view> names) {
  std::vector<std::string> values;
  if (names.empty()) return values;
  std::string lead = std::string(names[0]) + "=";
  if (body.substr(0, lead.size()) != lead) return std::nullopt;
  std::size_t valueBegin = lead.size();
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (k + 1 == names.size()) {
      // The last field is never followed by a value of the client's: it is
      // "t" (the time stamp), which holds digits only.
      const std::string_view rest = body.substr(valueBegin);
      if (rest.find('&') != std::string_view::npos) return std::nullopt;
      values.emplace_back(rest);
      break;
    }
    const std::string next = "&" + std::string(names[k + 1]) + "=";
    // The last field holds digits only, so its marker is the last one of
    // its kind; the others are the first after the value's start.
    const std::size_t at = k + 2 == names.size() ? body.rfind(next) : body.find(next, valueBegin);
    if (at == std::string_view::npos || at < valueBegin) return std::nullopt;
    values.emplace_back(body.substr(valueBegin, at - valueBegin));
    valueBegin = at + next.size();
  }
  return values;
}

}  // namespace quillet::server
