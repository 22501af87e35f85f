#pragma once

// The version record a program file carries: the bytes
// kFileVersionMarker, the version text and a zero byte. The build puts it in
// the ELF section kFileVersionSection of every program (see
// quillet_embed_file_version in CMakeLists.txt), where it is found without
// loading the file; a file of another format is searched for it byte by byte.

#include <cstdint>
#include <string>

namespace quillet {

inline constexpr char kFileVersionMarker[] = "QUILLET-FILE-VERSION:";
inline constexpr char kFileVersionSection[] = ".quillet_version";
// Longest version text a record may hold.
inline constexpr std::size_t kMaxVersionLength = 64;

// Random access to a file's bytes.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads exactly `size` bytes at `offset` into `out`; false when it cannot.
  virtual bool ReadAt(std::uint64_t offset, std::size_t size, std::string* out) = 0;
};

enum class VersionRecordStatus {
  kFound,
  kReadFailed,  // the file's bytes could not be read
  kMissing,     // no record in the file
  kMalformed,   // a record whose version is empty, too long or unterminated
};

struct VersionRecord {
  VersionRecordStatus status = VersionRecordStatus::kMissing;
  std::string version;
};

VersionRecord FindVersionRecord(ByteSource& source);

}  // namespace quillet
