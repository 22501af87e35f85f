#include "core/update/version_record.h"

#include <algorithm>
#include <string_view>

namespace quillet {

namespace {

constexpr std::string_view kMarker = kFileVersionMarker;
constexpr std::string_view kSection = kFileVersionSection;
// Bounds that keep a hostile header from making us read much.
constexpr std::uint64_t kMaxSectionTable = 8u << 20;
constexpr std::uint64_t kMaxNameTable = 1u << 20;
constexpr std::size_t kScanChunk = 64u << 10;

// Parses the bytes after the marker: the version up to its zero byte.
VersionRecord RecordFromValue(std::string_view value) {
  const std::size_t end = value.find('\0');
  if (end == 0 || end == std::string_view::npos || end > kMaxVersionLength) {
    return {VersionRecordStatus::kMalformed, {}};
  }
  const std::string_view version = value.substr(0, end);
  const bool printable = std::all_of(version.begin(), version.end(), [](char c) {
    return static_cast<unsigned char>(c) > 0x20 && static_cast<unsigned char>(c) < 0x7F;
  });
  if (!printable) return {VersionRecordStatus::kMalformed, {}};
  return {VersionRecordStatus::kFound, std::string(version)};
}

class ElfReader {
 public:
  ElfReader(std::string_view header, bool is64, bool bigEndian)
      : header_(header), is64_(is64), bigEndian_(bigEndian) {}

  std::uint64_t Field(std::string_view bytes, std::size_t offset, std::size_t width) const {
    if (offset + width > bytes.size()) return 0;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
      const std::size_t at = bigEndian_ ? offset + i : offset + width - 1 - i;
      value = (value << 8) | static_cast<unsigned char>(bytes[at]);
    }
    return value;
  }
  std::uint64_t Word(std::string_view bytes, std::size_t at64, std::size_t at32) const {
    return is64_ ? Field(bytes, at64, 8) : Field(bytes, at32, 4);
  }

  std::uint64_t SectionTableOffset() const { return Word(header_, 0x28, 0x20); }
  std::uint64_t SectionEntrySize() const { return Field(header_, is64_ ? 0x3A : 0x2E, 2); }
  std::uint64_t SectionCount() const { return Field(header_, is64_ ? 0x3C : 0x30, 2); }
  std::uint64_t NameTableIndex() const { return Field(header_, is64_ ? 0x3E : 0x32, 2); }
  std::size_t MinEntrySize() const { return is64_ ? 64 : 40; }

  std::uint64_t NameOf(std::string_view entry) const { return Field(entry, 0, 4); }
  std::uint64_t TypeOf(std::string_view entry) const { return Field(entry, 4, 4); }
  std::uint64_t OffsetOf(std::string_view entry) const { return Word(entry, 24, 16); }
  std::uint64_t SizeOf(std::string_view entry) const { return Word(entry, 32, 20); }
  std::uint64_t LinkOf(std::string_view entry) const { return Field(entry, is64_ ? 40 : 24, 4); }

 private:
  std::string_view header_;
  bool is64_;
  bool bigEndian_;
};

// Reads `size` bytes at `offset` when they lie inside the file.
bool ReadInside(ByteSource& source, std::uint64_t offset, std::uint64_t size, std::string* out) {
  const std::uint64_t total = source.Size();
  if (offset > total || size > total - offset) return false;
  return source.ReadAt(offset, static_cast<std::size_t>(size), out);
}

VersionRecord FromElf(ByteSource& source, const std::string& header) {
  const bool is64 = header[4] == 2;
  const bool bigEndian = header[5] == 2;
  const ElfReader elf(header, is64, bigEndian);
  const VersionRecord missing{VersionRecordStatus::kMissing, {}};

  const std::uint64_t tableOffset = elf.SectionTableOffset();
  const std::uint64_t entrySize = elf.SectionEntrySize();
  if (tableOffset == 0 || entrySize < elf.MinEntrySize()) return missing;

  std::string first;
  if (!ReadInside(source, tableOffset, entrySize, &first)) return missing;
  // Extended numbering keeps large counts in the first entry.
  std::uint64_t count = elf.SectionCount();
  if (count == 0) count = elf.SizeOf(first);
  std::uint64_t nameIndex = elf.NameTableIndex();
  if (nameIndex == 0xFFFF) nameIndex = elf.LinkOf(first);
  if (count == 0 || count > kMaxSectionTable / entrySize || nameIndex >= count) return missing;

  std::string table;
  if (!ReadInside(source, tableOffset, count * entrySize, &table)) return missing;
  const auto entry = [&](std::uint64_t index) {
    return std::string_view(table).substr(static_cast<std::size_t>(index * entrySize),
                                          static_cast<std::size_t>(entrySize));
  };
  const std::string_view nameEntry = entry(nameIndex);
  const std::uint64_t namesSize = std::min(elf.SizeOf(nameEntry), kMaxNameTable);
  std::string names;
  if (!ReadInside(source, elf.OffsetOf(nameEntry), namesSize, &names)) return missing;

  constexpr std::uint64_t kNoBits = 8;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::string_view section = entry(i);
    const std::uint64_t nameAt = elf.NameOf(section);
    if (nameAt >= names.size()) continue;
    const std::string_view name = std::string_view(names).substr(static_cast<std::size_t>(nameAt));
    if (name.substr(0, name.find('\0')) != kSection) continue;
    if (elf.TypeOf(section) == kNoBits) return {VersionRecordStatus::kMalformed, {}};
    const std::uint64_t offset = elf.OffsetOf(section);
    const std::uint64_t fullSize = elf.SizeOf(section);
    // A section that claims more than the file holds is not trusted at all.
    if (offset > source.Size() || fullSize > source.Size() - offset) {
      return {VersionRecordStatus::kMalformed, {}};
    }
    const std::uint64_t size =
        std::min<std::uint64_t>(fullSize, kMarker.size() + kMaxVersionLength + 1);
    std::string bytes;
    if (!ReadInside(source, offset, size, &bytes)) {
      return {VersionRecordStatus::kMalformed, {}};
    }
    if (std::string_view(bytes).substr(0, kMarker.size()) != kMarker) {
      return {VersionRecordStatus::kMalformed, {}};
    }
    return RecordFromValue(std::string_view(bytes).substr(kMarker.size()));
  }
  return missing;
}

// Any other file: the first marker followed by a version. A marker followed
// at once by its zero byte is a program's own search text, not a record.
VersionRecord FromScan(ByteSource& source) {
  const std::uint64_t total = source.Size();
  std::string window;
  std::uint64_t windowStart = 0;
  std::uint64_t next = 0;
  while (next < total) {
    const std::size_t size =
        static_cast<std::size_t>(std::min<std::uint64_t>(kScanChunk, total - next));
    std::string chunk;
    if (!source.ReadAt(next, size, &chunk)) return {VersionRecordStatus::kReadFailed, {}};
    // Keep the tail that could hold the start of a marker split by the chunk.
    const std::size_t keep = std::min(window.size(), kMarker.size() - 1);
    windowStart += window.size() - keep;
    window = window.substr(window.size() - keep) + chunk;
    next += size;

    for (std::size_t hit = window.find(kMarker); hit != std::string::npos;
         hit = window.find(kMarker, hit + 1)) {
      const std::uint64_t valueAt = windowStart + hit + kMarker.size();
      const std::uint64_t valueSize =
          std::min<std::uint64_t>(kMaxVersionLength + 1, total - valueAt);
      std::string value;
      if (!source.ReadAt(valueAt, static_cast<std::size_t>(valueSize), &value)) {
        return {VersionRecordStatus::kReadFailed, {}};
      }
      if (!value.empty() && value[0] == '\0') continue;
      return RecordFromValue(value);
    }
  }
  return {VersionRecordStatus::kMissing, {}};
}

}  // namespace

VersionRecord FindVersionRecord(ByteSource& source) {
  const std::uint64_t total = source.Size();
  std::string header;
  const std::uint64_t headerSize = std::min<std::uint64_t>(total, 64);
  if (!source.ReadAt(0, static_cast<std::size_t>(headerSize), &header)) {
    return {VersionRecordStatus::kReadFailed, {}};
  }
  const bool elf = header.size() >= 52 &&
                   header.compare(0, 4,
                                  "\x7F"
                                  "ELF") == 0 &&
                   (header[4] == 1 || header[4] == 2) && (header[5] == 1 || header[5] == 2) &&
                   (header[4] == 1 || header.size() >= 64);
  return elf ? FromElf(source, header) : FromScan(source);
}

}  // namespace quillet
