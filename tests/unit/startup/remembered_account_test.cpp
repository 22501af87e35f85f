#include "core/startup/remembered_account.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "core/startup/atomic_file.h"
#include "temp_run_directory.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

struct ParseCase {
  const char* name;
  Text text;
  bool autoLogOn;
  Text account;
  Text password;
};

const ParseCase kParseCases[] = {
    {"both records", "userCode=[123456789]\r\nuserPassword=[secret]", true, "123456789", "secret"},
    {"account only", "userCode=[123456789]", false, "123456789", ""},
    {"empty file", "", false, "", ""},
    {"password cut at its first bracket", "userCode=[42]\r\nuserPassword=[a]b]", true, "42", "a"},
    {"names are case-sensitive", "usercode=[42]\r\nuserpassword=[x]", false, "", ""},
    {"password name without account name", "userPassword=[x]", false, "", ""},
    {"garbage", "\x81\xff[]]][[userCode", false, "", ""},
    {"unterminated account", "userCode=[12345", false, "", ""},
    {"Chinese account", "userCode=[\xd5\xcb\xba\xc5]", false, "\xd5\xcb\xba\xc5", ""},
};

TEST(ParseAccountFileTest, RestoresWhatEachRecordHolds) {
  for (const ParseCase& c : kParseCases) {
    const RememberedAccount r = ParseAccountFile(c.text);
    EXPECT_EQ(r.autoLogOn, c.autoLogOn) << c.name;
    EXPECT_EQ(r.account, c.account) << c.name;
    EXPECT_EQ(r.password, c.password) << c.name;
  }
}

TEST(AccountRecordTest, WrittenRecordsReadBackTheSame) {
  const RememberedAccount both = ParseAccountFile(AccountAndPasswordRecord("987", "pw 1"));
  EXPECT_TRUE(both.autoLogOn);
  EXPECT_EQ(both.account, "987");
  EXPECT_EQ(both.password, "pw 1");
  EXPECT_EQ(AccountAndPasswordRecord("987", "pw 1"), "userCode=[987]\r\nuserPassword=[pw 1]");
  EXPECT_EQ(AccountRecord("987"), "userCode=[987]");
}

class AccountFileTest : public ::testing::Test {
 protected:
  test::TempRunDirectory dir;
  std::string path = dir.PathOf(kAccountFileName);
};

TEST_F(AccountFileTest, WriteIsOwnerOnlyAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(WriteAccountFile(path, AccountAndPasswordRecord("1", "2")));
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(ReadAccountFile(path), AccountAndPasswordRecord("1", "2"));
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir.Directory())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(AccountFileTest, ReplacesAnOlderLongerFileWhole) {
  ASSERT_TRUE(WriteAccountFile(path, AccountAndPasswordRecord("123456789", "long password")));
  ASSERT_TRUE(WriteAccountFile(path, AccountRecord("1")));
  EXPECT_EQ(ReadAccountFile(path), "userCode=[1]");
}

TEST_F(AccountFileTest, UnwritableFolderFailsWithoutTouchingTheOldFile) {
  const std::string inMissingFolder = dir.PathOf("missing/data.dll");
  EXPECT_FALSE(WriteAccountFile(inMissingFolder, AccountRecord("1")));
  EXPECT_FALSE(fs::exists(inMissingFolder));
}

TEST_F(AccountFileTest, MissingFolderEntryAndNonFilesReadAsEmpty) {
  EXPECT_EQ(ReadAccountFile(path), "");
  fs::create_directory(path);  // a folder named data.dll
  EXPECT_EQ(ReadAccountFile(path), "");
}

TEST_F(AccountFileTest, TextEndsAtTheFirstZeroByteAndHugeFilesAreCut) {
  {
    std::ofstream out(path, std::ios::binary);
    out << "userCode=[77]";
    out.put('\0');
    out << "userPassword=[hidden]";
    out << std::string(8 * 1024 * 1024, 'x');
  }
  const Text text = ReadAccountFile(path);
  EXPECT_EQ(text, "userCode=[77]");
  const RememberedAccount r = ParseAccountFile(text);
  EXPECT_FALSE(r.autoLogOn);
  EXPECT_EQ(r.account, "77");

  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << std::string(8 * 1024 * 1024, 'y');
  }
  EXPECT_LE(ReadAccountFile(path).size(), 64u * 1024u);
}

TEST_F(AccountFileTest, RemoveDeletesAndToleratesAMissingFile) {
  ASSERT_TRUE(WriteAccountFile(path, AccountRecord("5")));
  EXPECT_TRUE(RemoveAccountFile(path));
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(RemoveAccountFile(path));
}

}  // namespace
}  // namespace quillet
