#include "core/update/version_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace quillet {
namespace {

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string bytes, std::uint64_t failAt = UINT64_MAX)
      : bytes_(std::move(bytes)), failAt_(failAt) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, std::size_t size, std::string* out) override {
    if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
    if (offset + size > failAt_) return false;  // an I/O error from here on
    *out = bytes_.substr(static_cast<std::size_t>(offset), size);
    return true;
  }

 private:
  std::string bytes_;
  std::uint64_t failAt_;
};

// A minimal ELF file: header, the section contents, then the section table
// [null, names, version].
struct ElfShape {
  bool is64 = true;
  bool bigEndian = false;
  std::string sectionName = ".quillet_version";
  std::string content = std::string(kFileVersionMarker) + "4.3.2.1" + '\0';
  std::uint32_t versionType = 1;  // PROGBITS
  std::uint16_t count = 3;
  std::uint16_t namesIndex = 1;
  std::uint64_t versionSizeExtra = 0;
};

void Put(std::string* bytes, std::size_t at, std::uint64_t value, std::size_t width, bool big) {
  if (bytes->size() < at + width) bytes->resize(at + width, '\0');
  for (std::size_t i = 0; i < width; ++i) {
    const std::size_t shift = 8 * (big ? width - 1 - i : i);
    (*bytes)[at + i] = static_cast<char>((value >> shift) & 0xFF);
  }
}

std::string BuildElf(const ElfShape& s) {
  const std::size_t headerSize = s.is64 ? 64 : 52;
  const std::size_t entrySize = s.is64 ? 64 : 40;
  std::string bytes(headerSize, '\0');
  bytes[0] = 0x7F;
  bytes[1] = 'E';
  bytes[2] = 'L';
  bytes[3] = 'F';
  bytes[4] = s.is64 ? 2 : 1;
  bytes[5] = s.bigEndian ? 2 : 1;
  const std::string names = std::string("\0.names\0", 8) + s.sectionName + '\0';
  const std::size_t namesAt = bytes.size();
  bytes += names;
  const std::size_t contentAt = bytes.size();
  bytes += s.content;
  const std::size_t tableAt = bytes.size();
  bytes.resize(tableAt + 3 * entrySize, '\0');

  const auto w = [&](std::size_t at, std::uint64_t v, std::size_t width) {
    Put(&bytes, at, v, width, s.bigEndian);
  };
  w(s.is64 ? 0x28 : 0x20, tableAt, s.is64 ? 8 : 4);
  w(s.is64 ? 0x3A : 0x2E, entrySize, 2);
  w(s.is64 ? 0x3C : 0x30, s.count, 2);
  w(s.is64 ? 0x3E : 0x32, s.namesIndex, 2);
  const auto section = [&](int index, std::uint32_t name, std::uint32_t type, std::uint64_t offset,
                           std::uint64_t size) {
    const std::size_t at = tableAt + index * entrySize;
    w(at, name, 4);
    w(at + 4, type, 4);
    w(at + (s.is64 ? 24 : 16), offset, s.is64 ? 8 : 4);
    w(at + (s.is64 ? 32 : 20), size, s.is64 ? 8 : 4);
  };
  section(1, 1, 3, namesAt, names.size());
  section(2, 8, s.versionType, contentAt, s.content.size() + s.versionSizeExtra);
  return bytes;
}

VersionRecord Find(const std::string& bytes, std::uint64_t failAt = UINT64_MAX) {
  MemorySource source(bytes, failAt);
  return FindVersionRecord(source);
}

TEST(VersionRecord, FoundInTheSectionOfEveryElfLayout) {
  for (const bool is64 : {true, false}) {
    for (const bool big : {false, true}) {
      ElfShape shape;
      shape.is64 = is64;
      shape.bigEndian = big;
      SCOPED_TRACE(std::string(is64 ? "64" : "32") + (big ? " big" : " little"));
      const VersionRecord record = Find(BuildElf(shape));
      EXPECT_EQ(record.status, VersionRecordStatus::kFound);
      EXPECT_EQ(record.version, "4.3.2.1");
    }
  }
}

TEST(VersionRecord, HostileElfHeadersGiveADefinedAnswer) {
  const auto shaped = [](auto change) {
    ElfShape shape;
    change(shape);
    return BuildElf(shape);
  };
  const std::string good = BuildElf({});
  const struct {
    const char* name;
    std::string bytes;
    VersionRecordStatus status;
  } cases[] = {
      {"no such section", shaped([](ElfShape& s) { s.sectionName = ".other"; }),
       VersionRecordStatus::kMissing},
      {"name table index beyond the table", shaped([](ElfShape& s) { s.namesIndex = 7; }),
       VersionRecordStatus::kMissing},
      {"count beyond the file", shaped([](ElfShape& s) { s.count = 60000; }),
       VersionRecordStatus::kMissing},
      {"section without bytes", shaped([](ElfShape& s) { s.versionType = 8; }),
       VersionRecordStatus::kMalformed},
      {"section size beyond the file", shaped([](ElfShape& s) { s.versionSizeExtra = 1ull << 62; }),
       VersionRecordStatus::kMalformed},
      {"section without marker",
       shaped([](ElfShape& s) { s.content = std::string("4.3.2.1\0", 8); }),
       VersionRecordStatus::kMalformed},
      {"version without end",
       shaped([](ElfShape& s) { s.content = std::string(kFileVersionMarker) + "4.3"; }),
       VersionRecordStatus::kMalformed},
      {"empty version",
       shaped([](ElfShape& s) { s.content = std::string(kFileVersionMarker) + '\0'; }),
       VersionRecordStatus::kMalformed},
      {"control bytes in the version",
       shaped([](ElfShape& s) { s.content = std::string(kFileVersionMarker) + "1\n2" + '\0'; }),
       VersionRecordStatus::kMalformed},
      {"version too long", shaped([](ElfShape& s) {
         s.content =
             std::string(kFileVersionMarker) + std::string(kMaxVersionLength + 1, '1') + '\0';
       }),
       VersionRecordStatus::kMalformed},
      {"header only", good.substr(0, 64), VersionRecordStatus::kMissing},
      {"cut inside the table", good.substr(0, good.size() - 10), VersionRecordStatus::kMissing},
      {"magic only",
       std::string("\x7F"
                   "ELF",
                   4),
       VersionRecordStatus::kMissing},
      {"empty file", "", VersionRecordStatus::kMissing},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Find(c.bytes).status, c.status);
  }
}

TEST(VersionRecord, ScanFindsARecordSplitAcrossReadChunks) {
  const std::string record = std::string(kFileVersionMarker) + "6.0.0.1" + '\0';
  const std::size_t chunk = 64u << 10;
  for (const std::size_t before : {std::size_t{0}, chunk - 5, chunk - 1, chunk, 2 * chunk - 24}) {
    SCOPED_TRACE(before);
    const VersionRecord found = Find(std::string(before, 'x') + record + "tail");
    EXPECT_EQ(found.status, VersionRecordStatus::kFound);
    EXPECT_EQ(found.version, "6.0.0.1");
  }
  // A record at the very end without its zero byte.
  EXPECT_EQ(Find(std::string(100, 'x') + kFileVersionMarker + "6.0").status,
            VersionRecordStatus::kMalformed);
}

TEST(VersionRecord, ReadErrorsAreReportedAsSuch) {
  EXPECT_EQ(Find(std::string(200u << 10, 'x'), 100u << 10).status,
            VersionRecordStatus::kReadFailed);
  const std::string elf = BuildElf({});
  EXPECT_EQ(Find(elf, 10).status, VersionRecordStatus::kReadFailed);
}

}  // namespace
}  // namespace quillet
