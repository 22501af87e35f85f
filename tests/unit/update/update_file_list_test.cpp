#include "update_file_list.h"

#include <gtest/gtest.h>

namespace quillet::updater {
namespace {

const std::string kHashA(64, 'a');
const std::string kHashB = "0123456789ABCDEF0123456789abcdef0123456789abcdef0123456789ABCDEF";

TEST(UpdateFileList, ReadsEntriesWithOptionalProgramFlag) {
  std::string error;
  const auto files = ParseUpdateFileList(
      " quillet,1024," + kHashA + ",x |\n QuickTools/read-me_1.txt , 0 , " + kHashB + "|", &error);
  ASSERT_TRUE(files.has_value()) << error;
  ASSERT_EQ(files->size(), 2u);
  EXPECT_EQ((*files)[0].name, "quillet");
  EXPECT_EQ((*files)[0].size, 1024u);
  EXPECT_EQ((*files)[0].sha256, kHashA);
  EXPECT_TRUE((*files)[0].executable);
  EXPECT_EQ((*files)[1].name, "QuickTools/read-me_1.txt");
  EXPECT_EQ((*files)[1].size, 0u);
  EXPECT_EQ((*files)[1].sha256, "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef");
  EXPECT_FALSE((*files)[1].executable);
}

TEST(UpdateFileList, RejectsWhatCouldEscapeOrMislead) {
  const struct {
    const char* name;
    std::string list;
  } cases[] = {
      {"empty", ""},
      {"only separators", "| |"},
      {"parent folder", "../quillet,1," + kHashA},
      {"inner parent folder", "a/../../b,1," + kHashA},
      {"absolute", "/etc/passwd,1," + kHashA},
      {"empty segment", "a//b,1," + kHashA},
      {"backslash", "a\\b,1," + kHashA},
      {"space in name", "a b,1," + kHashA},
      {"non-ASCII name", "\xD6\xD0,1," + kHashA},
      {"dot only", ".,1," + kHashA},
      {"size not a number", "a,1k," + kHashA},
      {"negative size", "a,-1," + kHashA},
      {"size too large", "a,99999999999999," + kHashA},
      {"short hash", "a,1," + kHashA.substr(1)},
      {"hash not hex", "a,1," + std::string(64, 'g')},
      {"missing field", "a,1"},
      {"unknown flag", "a,1," + kHashA + ",r"},
      {"too many fields", "a,1," + kHashA + ",x,y"},
      {"repeated name", "a,1," + kHashA + "|a,2," + kHashA},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(ParseUpdateFileList(c.list, &error).has_value());
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace quillet::updater
