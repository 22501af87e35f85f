#include "core/update/version_order.h"

#include <cstddef>

namespace quillet {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimSpace(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

// Takes the part up to the next "." off the front of `text`.
std::string_view NextPart(std::string_view* text) {
  const std::size_t dot = text->find('.');
  const std::string_view part = text->substr(0, dot);
  text->remove_prefix(dot == std::string_view::npos ? text->size() : dot + 1);
  return part;
}

int Sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

// Numbers of any length: leading zeros dropped, then the longer is larger,
// then the digits decide.
int CompareDigits(std::string_view a, std::string_view b) {
  while (!a.empty() && a.front() == '0') a.remove_prefix(1);
  while (!b.empty() && b.front() == '0') b.remove_prefix(1);
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return Sign(a.compare(b));
}

int CompareParts(std::string_view a, std::string_view b) {
  std::size_t aDigits = 0;
  while (aDigits < a.size() && IsDigit(a[aDigits])) ++aDigits;
  std::size_t bDigits = 0;
  while (bDigits < b.size() && IsDigit(b[bDigits])) ++bDigits;
  const int numbers = CompareDigits(a.substr(0, aDigits), b.substr(0, bDigits));
  if (numbers != 0) return numbers;
  // std::string_view compares as unsigned bytes (char_traits<char>::lt).
  return Sign(a.substr(aDigits).compare(b.substr(bDigits)));
}

}  // namespace

int CompareVersionTexts(std::string_view a, std::string_view b) {
  a = TrimSpace(a);
  b = TrimSpace(b);
  while (!a.empty() || !b.empty()) {
    const int order = CompareParts(NextPart(&a), NextPart(&b));
    if (order != 0) return order;
  }
  return 0;
}

bool IsNewerVersion(std::string_view published, std::string_view own) {
  if (TrimSpace(published).empty() || TrimSpace(own).empty()) return false;
  return CompareVersionTexts(published, own) > 0;
}

}  // namespace quillet
