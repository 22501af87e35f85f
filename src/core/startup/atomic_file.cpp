#include "core/startup/atomic_file.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace quillet {

namespace fs = std::filesystem;

bool WriteFileAtomically(const std::string& path, std::string_view bytes, bool ownerOnly) {
  static std::atomic<unsigned> counter{0};
  const std::string temp = path + ".tmp" + std::to_string(counter.fetch_add(1));
  std::error_code ec;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    // Restrict the file before a single byte is in it.
    if (ownerOnly) {
      fs::permissions(temp, fs::perms::owner_read | fs::perms::owner_write,
                      fs::perm_options::replace, ec);
      if (ec) {
        out.close();
        fs::remove(temp, ec);
        return false;
      }
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temp, ec);
      return false;
    }
  }
  fs::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return false;
  }
  return true;
}

std::string ReadFileBytes(const std::string& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::string bytes;
  char buffer[4096];
  while (bytes.size() < limit && in) {
    const std::size_t want = std::min(sizeof buffer, limit - bytes.size());
    in.read(buffer, static_cast<std::streamsize>(want));
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  return bytes;
}

}  // namespace quillet
