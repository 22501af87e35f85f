#include "core/update/file_version.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "core/platform/run_directory.h"
#include "core/update/version_record.h"

namespace quillet {

namespace {

class FileByteSource final : public ByteSource {
 public:
  FileByteSource(const std::string& path, std::uint64_t size)
      : stream_(path, std::ios::binary), size_(size) {}
  bool IsOpen() const { return stream_.is_open(); }
  std::uint64_t Size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, std::size_t size, std::string* out) override {
    out->assign(size, '\0');
    stream_.clear();
    stream_.seekg(static_cast<std::streamoff>(offset));
    if (!stream_) return false;
    stream_.read(out->data(), static_cast<std::streamsize>(size));
    return stream_.gcount() == static_cast<std::streamsize>(size);
  }

 private:
  std::ifstream stream_;
  std::uint64_t size_;
};

Text CollapseSlashes(std::string_view name) {
  Text collapsed;
  for (char c : name) {
    if (c == '/' && !collapsed.empty() && collapsed.back() == '/') continue;
    collapsed += c;
  }
  return collapsed;
}

Text Fail(Text* errorText, std::string_view utf8Message) {
  if (errorText != nullptr) *errorText = Gbk(utf8Message);
  return {};
}

}  // namespace

Text FileVersionText(const RunDirectory& self, std::string_view fileName, Text* errorText,
                     bool majorMinor) {
  std::string path;
  if (!fileName.empty()) {
    path = CollapseSlashes(fileName);
    if (path.front() != '/') return Fail(errorText, "当前文件名不符合规范");
  } else {
    path = self.ProgramPath();
  }

  std::error_code error;
  const bool regular = std::filesystem::is_regular_file(path, error);
  const std::uint64_t size = regular ? std::filesystem::file_size(path, error) : 0;
  if (!regular || error || size == 0) {
    return Fail(errorText, "GetFileVersionInfoSize（获取信息长度）失败");
  }
  FileByteSource source(path, size);
  if (!source.IsOpen()) return Fail(errorText, "GetFileVersionInfoSize（获取信息长度）失败");

  const VersionRecord record = FindVersionRecord(source);
  switch (record.status) {
    case VersionRecordStatus::kReadFailed:
      return Fail(errorText, "GetFileVersionInfo（获取信息）失败");
    case VersionRecordStatus::kMissing:
      return Fail(errorText, "VerQueryValue（查询Version）失败");
    case VersionRecordStatus::kMalformed:
      return {};
    case VersionRecordStatus::kFound:
      break;
  }

  if (majorMinor) {
    const std::vector<Text> parts = TextSplit(record.version, ".");
    if (parts.size() == 4) return parts[0] + "." + parts[1];
  }
  return record.version;
}

}  // namespace quillet
