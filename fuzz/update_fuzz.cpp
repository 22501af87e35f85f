// Feeds arbitrary bytes to the update check's readers: as a program file to
// the version record finder (ELF headers included), as an update description,
// and split in two as a pair of version texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/text/text.h"
#include "core/update/update_description.h"
#include "core/update/version_order.h"
#include "core/update/version_record.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

class MemorySource final : public quillet::ByteSource {
 public:
  explicit MemorySource(const std::string& bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, std::size_t size, std::string* out) override {
    if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
    *out = bytes_.substr(static_cast<std::size_t>(offset), size);
    return true;
  }

 private:
  const std::string& bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  MemorySource source(input);
  const quillet::VersionRecord record = quillet::FindVersionRecord(source);
  Check(record.status != quillet::VersionRecordStatus::kReadFailed);
  if (record.status == quillet::VersionRecordStatus::kFound) {
    Check(!record.version.empty() && record.version.size() <= quillet::kMaxVersionLength);
    Check(input.find(record.version) != std::string::npos);
  } else {
    Check(record.version.empty());
  }

  const quillet::UpdateDescription d = quillet::ReadUpdateDescription(input);
  // One pass removes the CR LF pairs; a pair that only forms once another is
  // gone ("\r\r\n\n") stays, as the description's own rule has it.
  Check(d.fileList.size() <= input.size());
  // A "}" ends a value unless it is the second byte of a double-byte character.
  Check(d.version.size() <= input.size() && quillet::TextFind(d.description, "}") == -1);

  const std::size_t cut = size > 0 ? data[0] % (size + 1) : 0;
  const std::string a = input.substr(0, cut);
  const std::string b = input.substr(cut);
  const int ab = quillet::CompareVersionTexts(a, b);
  const int ba = quillet::CompareVersionTexts(b, a);
  Check((ab > 0) == (ba < 0) && (ab == 0) == (ba == 0));
  Check(quillet::CompareVersionTexts(a, a) == 0);
  return 0;
}
