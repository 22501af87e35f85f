#include "core/net/cookies.h"

#include <algorithm>
#include <vector>

namespace quillet {

namespace {

constexpr std::string_view kDeleted = "=deleted";

Text CookieName(std::string_view item) {
  const std::size_t eq = item.find('=');
  return TextTrim(eq == std::string_view::npos ? item : item.substr(0, eq));
}

void PrepareForSplit(Text* text) {
  *text = TextTrim(*text);
  if (!text->empty() && text->back() == ';') *text += ' ';
}

}  // namespace

Text MergeCookies(Text* old, Text* fresh) {
  PrepareForSplit(old);
  PrepareForSplit(fresh);
  std::vector<Text> items = TextSplit(*fresh, "; ");
  std::vector<Text> names;
  names.reserve(items.size());
  for (const Text& item : items) names.push_back(CookieName(item));
  for (const Text& item : TextSplit(*old, "; ")) {
    Text name = CookieName(item);
    if (std::find(names.begin(), names.end(), name) != names.end()) continue;
    items.push_back(item);
    names.push_back(std::move(name));
  }
  std::vector<Text> kept;
  for (const Text& item : items) {
    if (item.size() >= kDeleted.size() && item.ends_with(kDeleted)) continue;
    if (std::find(kept.begin(), kept.end(), item) != kept.end()) continue;
    kept.push_back(item);
  }
  Text merged;
  for (const Text& item : kept) {
    if (!merged.empty()) merged += "; ";
    merged += item;
  }
  *old = merged;
  return merged;
}

Text CollectSetCookies(std::string_view responseHeaders) {
  Text cookies;
  for (const Text& line : TextSplit(responseHeaders, "\r\n")) {
    const std::size_t sep = line.find(": ");
    if (sep == Text::npos || std::string_view(line).substr(0, sep) != "Set-Cookie") continue;
    Text value;
    if (line.find(';') == Text::npos) {
      value = TextTrim(TextReplace(line, "Set-Cookie:", "", 1, -1, true));
    } else {
      value = TextTrim(TextBetween(line, "Set-Cookie:", ";"));
    }
    cookies += value;
    cookies += "; ";
  }
  if (cookies.ends_with("; ")) cookies.resize(cookies.size() - 2);
  return cookies;
}

}  // namespace quillet
