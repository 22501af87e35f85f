#include "platform/linux/profile_environment_backend.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "core/text/encodings.h"
#include "platform/linux/profile_script.h"

namespace quillet {
namespace {

constexpr std::string_view kScriptHeader =
    "# Java environment for login shells, written by Quillet's one-click set-up.\n"
    "# The quillet-value lines hold the values as Quillet stores them; the\n"
    "# export lines are what the shell runs. Change them through Quillet.\n";
constexpr std::string_view kBlockBegin = "# >>> quillet environment >>>\n";
constexpr std::string_view kBlockEnd = "# <<< quillet environment <<<\n";

std::string ToUtf8(const Text& text) {
  return text.empty() ? std::string() : Utf16ToMultiByte(AnsiToUtf16(text), kCodePageUtf8);
}
Text FromUtf8(const std::string& utf8) { return utf8.empty() ? Text() : Utf8ToAnsi(utf8); }

enum class ReadStatus { kRead, kAbsent, kFailed };

ReadStatus ReadFile(const std::string& path, std::string& out) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadStatus::kAbsent : ReadStatus::kFailed;
  std::string content;
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      close(fd);
      if (n < 0) return ReadStatus::kFailed;
      out = std::move(content);
      return ReadStatus::kRead;
    }
    content.append(buffer, static_cast<std::size_t>(n));
  }
}

// Temp file beside the target, flushed, then renamed over it: a reader sees
// the old file or the new one, never half of one.
bool WriteFileAtomically(const std::string& path, std::string_view content, mode_t mode) {
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = fchmod(fd, mode) == 0;
  for (std::size_t done = 0; ok && done < content.size();) {
    const ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (ok) ok = rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

mode_t ModeOf(const std::string& path, mode_t fallback) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : fallback;
}

// The managed block of a ~/.profile: [begin, end) of its lines, or npos.
std::pair<std::size_t, std::size_t> FindBlock(const std::string& file) {
  std::size_t begin = file.find(kBlockBegin);
  while (begin != std::string::npos && begin != 0 && file[begin - 1] != '\n') {
    begin = file.find(kBlockBegin, begin + 1);
  }
  if (begin == std::string::npos) return {std::string::npos, std::string::npos};
  const std::size_t end = file.find(kBlockEnd, begin);
  if (end == std::string::npos) return {begin, file.size()};
  return {begin, end + kBlockEnd.size()};
}

bool IsPathName(const Text& name) { return TextUpper(name) == "PATH"; }

}  // namespace

ProfileEnvironmentBackend::ProfileEnvironmentBackend() : ProfileEnvironmentBackend(Locations{}) {}

ProfileEnvironmentBackend::ProfileEnvironmentBackend(Locations locations)
    : locations_(std::move(locations)) {
  if (locations_.userProfile.empty()) {
    const char* home = std::getenv("HOME");
    locations_.userProfile = std::string(home && *home ? home : ".") + "/.profile";
  }
}

const std::string& ProfileEnvironmentBackend::FileOf(EnvironmentScope scope) const {
  return scope == EnvironmentScope::kSystem ? locations_.systemScript : locations_.userProfile;
}

std::optional<std::vector<EnvironmentEntry>> ProfileEnvironmentBackend::Load(
    EnvironmentScope scope) {
  std::string file;
  const ReadStatus status = ReadFile(FileOf(scope), file);
  if (status == ReadStatus::kFailed) return std::nullopt;
  std::string_view lines = file;
  if (scope == EnvironmentScope::kUser) {
    const auto [begin, end] = FindBlock(file);
    lines = begin == std::string::npos ? std::string_view() : lines.substr(begin, end - begin);
  }
  std::vector<EnvironmentEntry> entries;
  bool hasPath = false;
  for (const ProfileVariable& v : ParseProfileLines(lines)) {
    entries.push_back({FromUtf8(v.name), FromUtf8(v.value)});
    hasPath = hasPath || IsPathName(entries.back().name);
  }
  if (scope == EnvironmentScope::kSystem && !hasPath) entries.push_back({"Path", "%PATH%"});
  return entries;
}

bool ProfileEnvironmentBackend::Save(EnvironmentScope scope,
                                     const std::vector<EnvironmentEntry>& entries) {
  std::vector<ProfileVariable> variables;
  for (const EnvironmentEntry& e : entries) {
    // Path standing only for the login PATH changes nothing; it is what the
    // store gives while it holds no Path, so it is not written down.
    if (scope == EnvironmentScope::kSystem && IsPathName(e.name) &&
        TextUpper(e.value) == "%PATH%") {
      continue;
    }
    variables.push_back({ToUtf8(e.name), ToUtf8(e.value)});
  }
  const std::optional<std::string> lines = RenderProfileLines(variables);
  if (!lines) return false;
  const std::string& path = FileOf(scope);
  if (scope == EnvironmentScope::kSystem) {
    return WriteFileAtomically(path, std::string(kScriptHeader) + *lines, ModeOf(path, 0644));
  }
  std::string file;
  if (ReadFile(path, file) == ReadStatus::kFailed) return false;
  std::string block;
  if (!variables.empty()) block = std::string(kBlockBegin) + *lines + std::string(kBlockEnd);
  const auto [begin, end] = FindBlock(file);
  if (begin != std::string::npos) {
    file.replace(begin, end - begin, block);
  } else if (!block.empty()) {
    if (!file.empty() && file.back() != '\n') file += '\n';
    file += block;
  }
  return WriteFileAtomically(path, file, ModeOf(path, 0644));
}

bool ProfileEnvironmentBackend::Backup(EnvironmentScope scope) {
  const std::string& path = FileOf(scope);
  std::string file;
  const ReadStatus status = ReadFile(path, file);
  if (status == ReadStatus::kFailed) return false;
  // An empty backup records that there was no file.
  return WriteFileAtomically(path + ".bak", file, ModeOf(path, 0644));
}

bool ProfileEnvironmentBackend::Restore(EnvironmentScope scope) {
  const std::string& path = FileOf(scope);
  std::string file;
  if (ReadFile(path + ".bak", file) != ReadStatus::kRead) return false;
  const bool ok = file.empty() ? (unlink(path.c_str()) == 0 || errno == ENOENT)
                               : WriteFileAtomically(path, file, ModeOf(path + ".bak", 0644));
  return ok && unlink((path + ".bak").c_str()) == 0;
}

Text ProfileEnvironmentBackend::ProcessVariable(const Text& name) {
  if (name.empty()) return {};
  const char* value = std::getenv(ToUtf8(name).c_str());
  return value ? FromUtf8(value) : Text();
}

std::vector<Text> ProfileEnvironmentBackend::Arguments() {
  std::string cmdline;
  std::vector<Text> arguments;
  if (ReadFile("/proc/self/cmdline", cmdline) != ReadStatus::kRead) return arguments;
  std::size_t start = cmdline.find('\0');  // skip the program itself
  while (start != std::string::npos && start + 1 < cmdline.size()) {
    const std::size_t end = cmdline.find('\0', start + 1);
    arguments.push_back(FromUtf8(cmdline.substr(start + 1, end - start - 1)));
    start = end;
  }
  return arguments;
}

Text ProfileEnvironmentBackend::CurrentDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? FromUtf8(buffer) : Text();
}

Text ProfileEnvironmentBackend::ModuleFile() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
  return n > 0 ? FromUtf8(std::string(buffer, static_cast<std::size_t>(n))) : Text();
}

Text ProfileEnvironmentBackend::CommandInterpreter() {
  const char* shell = std::getenv("SHELL");
  return FromUtf8(shell && *shell ? shell : "/bin/sh");
}

}  // namespace quillet
