#include "core/update/file_version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/update/version_record.h"
#include "platform/linux/executable_run_directory.h"
#include "temp_run_directory.h"

namespace quillet {
namespace {

const std::string kData = QUILLET_TEST_DATA_DIR;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// This test program embeds version 2.5.0.17 (see CMakeLists.txt).
TEST(FileVersionText, ReadsTheRecordOfARealProgramFile) {
  const ExecutableRunDirectory self;
  Text error;
  EXPECT_EQ(FileVersionText(self, {}, &error, false), "2.5.0.17");
  EXPECT_EQ(FileVersionText(self), "2.5");  // major and minor when not told otherwise
  EXPECT_EQ(FileVersionText(self, self.ProgramPath(), &error, false), "2.5.0.17");
  EXPECT_EQ(error, "");
}

TEST(FileVersionText, ACopyCarryingAnotherProgramStillGivesItsOwnRecord) {
  // The program carries the updater (with a record of its own) as data; the
  // section decides, not the first marker in the bytes.
  const ExecutableRunDirectory self;
  test::TempRunDirectory dir;
  const std::string program = ReadAll(self.ProgramPath());
  const std::string inner = std::string(kFileVersionMarker) + "9.9.9.9" + '\0';
  WriteFile(dir.PathOf("carrier"), inner + program);
  EXPECT_EQ(FileVersionText(self, dir.PathOf("carrier"), nullptr, false), "9.9.9.9")
      << "not an ELF file any more: the byte search finds the first record";
  WriteFile(dir.PathOf("program"), program + inner);
  EXPECT_EQ(FileVersionText(self, dir.PathOf("program"), nullptr, false), "2.5.0.17");
}

TEST(FileVersionText, NamesTheFailingStep) {
  const ExecutableRunDirectory self;
  test::TempRunDirectory dir;
  WriteFile(dir.PathOf("empty"), "");
  WriteFile(dir.PathOf("plain.txt"), "no record here");
  const std::string program = ReadAll(self.ProgramPath());
  WriteFile(dir.PathOf("truncated"), program.substr(0, 4096));
  const struct {
    const char* name;
    std::string file;
    const char* error;  // UTF-8
  } cases[] = {
      {"relative name", "quillet", "当前文件名不符合规范"},
      {"windows form", "C:\\quillet.exe", "当前文件名不符合规范"},
      {"missing file", dir.PathOf("none"), "GetFileVersionInfoSize（获取信息长度）失败"},
      {"folder", dir.Directory(), "GetFileVersionInfoSize（获取信息长度）失败"},
      {"empty file", dir.PathOf("empty"), "GetFileVersionInfoSize（获取信息长度）失败"},
      {"no record", dir.PathOf("plain.txt"), "VerQueryValue（查询Version）失败"},
      {"ELF cut before its sections", dir.PathOf("truncated"), "VerQueryValue（查询Version）失败"},
      {"search text only", kData + "/version_record_search_text_only.bin",
       "VerQueryValue（查询Version）失败"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Text error = "untouched";
    EXPECT_EQ(FileVersionText(self, c.file, &error, false), "");
    EXPECT_EQ(error, Gbk(c.error));
  }
}

TEST(FileVersionText, RecordsOutsideProgramsAndUnusableRecords) {
  const ExecutableRunDirectory self;
  const struct {
    const char* file;
    bool majorMinor;
    const char* expected;
    const char* error;
  } cases[] = {
      {"version_record_in_script.sh", false, "3.1.4.1", "untouched"},
      {"version_record_in_script.sh", true, "3.1", "untouched"},
      {"version_record_after_search_text.bin", true, "7.0", "untouched"},  // not four parts
      // No end: empty and, like a failed string query, no error text.
      {"version_record_unterminated.bin", false, "", "untouched"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    Text error = "untouched";
    EXPECT_EQ(FileVersionText(self, "//" + kData + "//" + c.file, &error, c.majorMinor),
              c.expected);
    EXPECT_EQ(error, c.error);
  }
}

}  // namespace
}  // namespace quillet
