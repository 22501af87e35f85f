#include "core/startup/remembered_account.h"

#include <filesystem>
#include <system_error>

#include "core/startup/atomic_file.h"

namespace quillet {

namespace {
constexpr std::size_t kReadLimit = 64 * 1024;
}

RememberedAccount ParseAccountFile(const Text& text) {
  RememberedAccount r;
  r.account = TextBetween(text, "userCode=[", "]");
  if (TextContains(text, "userCode") && TextContains(text, "userPassword")) {
    r.autoLogOn = true;
    r.password = TextBetween(text, "userPassword=[", "]");
  }
  return r;
}

Text AccountRecord(const Text& account) { return "userCode=[" + account + "]"; }

Text AccountAndPasswordRecord(const Text& account, const Text& password) {
  return "userCode=[" + account + "]\r\nuserPassword=[" + password + "]";
}

Text ReadAccountFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return {};
  const std::string bytes = ReadFileBytes(path, kReadLimit);
  return Text(bytes.c_str());
}

bool WriteAccountFile(const std::string& path, const Text& record) {
  return WriteFileAtomically(path, record, /*ownerOnly=*/true);
}

bool RemoveAccountFile(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  return !ec;
}

}  // namespace quillet
