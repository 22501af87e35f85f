#include "update_file_list.h"

#include <algorithm>
#include <set>

namespace quillet::updater {

namespace {

constexpr std::size_t kMaxFiles = 10000;
constexpr std::size_t kMaxNameLength = 1024;
constexpr std::uint64_t kMaxFileSize = std::uint64_t{1} << 40;

std::string_view Trim(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    pieces.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return pieces;
    start = end + 1;
  }
}

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

bool IsSafeName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return false;
  for (const std::string_view segment : Split(name, '/')) {
    if (segment.empty() || segment == "." || segment == "..") return false;
    if (!std::all_of(segment.begin(), segment.end(), IsNameChar)) return false;
  }
  return true;
}

std::optional<std::uint64_t> ParseSize(std::string_view text) {
  if (text.empty() || text.size() > 13) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > kMaxFileSize) return std::nullopt;
  return value;
}

std::optional<std::string> ParseSha256(std::string_view text) {
  if (text.size() != 64) return std::nullopt;
  std::string lower;
  for (char c : text) {
    if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return std::nullopt;
    lower += c;
  }
  return lower;
}

}  // namespace

std::optional<std::vector<UpdateFile>> ParseUpdateFileList(std::string_view list,
                                                           std::string* error) {
  const auto fail = [error](const std::string& message) {
    if (error != nullptr) *error = message;
    return std::nullopt;
  };
  std::vector<UpdateFile> files;
  std::set<std::string, std::less<>> names;
  for (const std::string_view rawEntry : Split(list, '|')) {
    const std::string_view entry = Trim(rawEntry);
    if (entry.empty()) continue;
    const std::string shown(entry.substr(0, 80));
    std::vector<std::string_view> fields = Split(entry, ',');
    for (std::string_view& field : fields) field = Trim(field);
    if (fields.size() != 3 && !(fields.size() == 4 && fields[3] == "x")) {
      return fail("文件条目格式不正确：" + shown);
    }
    if (!IsSafeName(fields[0])) return fail("文件名不符合要求：" + shown);
    const std::optional<std::uint64_t> size = ParseSize(fields[1]);
    if (!size) return fail("文件大小不正确：" + shown);
    const std::optional<std::string> sha256 = ParseSha256(fields[2]);
    if (!sha256) return fail("文件校验值不正确：" + shown);
    if (!names.insert(std::string(fields[0])).second) return fail("文件重复：" + shown);
    if (files.size() == kMaxFiles) return fail("文件数量过多");
    files.push_back({std::string(fields[0]), *size, *sha256, fields.size() == 4});
  }
  if (files.empty()) return fail("文件列表为空");
  return files;
}

}  // namespace quillet::updater
