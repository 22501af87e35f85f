#include "staged_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "temp_run_directory.h"

namespace quillet::updater {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::set<std::string> Listing(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    names.insert(fs::relative(entry.path(), dir).string());
  }
  return names;
}

UpdateFile File(const std::string& name, bool executable = false) {
  return {name, 0, std::string(64, '0'), executable};
}

TEST(StagedFiles, CommitReplacesAndAddsFilesKeepingModes) {
  test::TempRunDirectory dir;
  WriteFile(dir.PathOf("quillet"), "old program");
  ::chmod(dir.PathOf("quillet").c_str(), 0750);
  {
    StagedFiles staged(dir.Directory() + "/");
    std::string error;
    const std::string a = staged.Stage(File("quillet"), &error);
    const std::string b = staged.Stage(File("tools/new.sh", true), &error);
    const std::string c = staged.Stage(File("notes.txt"), &error);
    ASSERT_FALSE(a.empty() || b.empty() || c.empty()) << error;
    EXPECT_EQ(fs::path(a).parent_path(), fs::path(dir.Directory()));  // same file system
    WriteFile(a, "new program");
    WriteFile(b, "#!/bin/sh\n");
    WriteFile(c, "notes");
    EXPECT_EQ(ReadAll(dir.PathOf("quillet")), "old program");  // nothing before Commit
    ASSERT_TRUE(staged.Commit(&error)) << error;
  }
  EXPECT_EQ(ReadAll(dir.PathOf("quillet")), "new program");
  EXPECT_EQ(ReadAll(dir.PathOf("tools/new.sh")), "#!/bin/sh\n");
  EXPECT_EQ(ReadAll(dir.PathOf("notes.txt")), "notes");
  struct stat info {};
  ASSERT_EQ(::stat(dir.PathOf("quillet").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0750u);
  ASSERT_EQ(::stat(dir.PathOf("tools/new.sh").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0755u);
  ASSERT_EQ(::stat(dir.PathOf("notes.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
  EXPECT_EQ(Listing(dir.Directory()),
            (std::set<std::string>{"quillet", "tools", "tools/new.sh", "notes.txt"}));
}

TEST(StagedFiles, DiscardLeavesTheFolderAsItWas) {
  test::TempRunDirectory dir;
  WriteFile(dir.PathOf("quillet"), "old program");
  {
    StagedFiles staged(dir.Directory());
    std::string error;
    WriteFile(staged.Stage(File("quillet"), &error), "half a progr");
    WriteFile(staged.Stage(File("deep/er/file"), &error), "x");
    // Leaving without Commit discards.
  }
  EXPECT_EQ(ReadAll(dir.PathOf("quillet")), "old program");
  EXPECT_EQ(Listing(dir.Directory()), (std::set<std::string>{"quillet"}));
}

TEST(StagedFiles, AFailedRenamePutsBackWhatWasReplaced) {
  test::TempRunDirectory dir;
  WriteFile(dir.PathOf("a.txt"), "old a");
  fs::create_directories(dir.PathOf("b.txt/inside"));  // a folder cannot be replaced by a file
  StagedFiles staged(dir.Directory());
  std::string error;
  WriteFile(staged.Stage(File("a.txt"), &error), "new a");
  WriteFile(staged.Stage(File("c.txt"), &error), "new c");
  WriteFile(staged.Stage(File("b.txt"), &error), "new b");
  EXPECT_FALSE(staged.Commit(&error));
  EXPECT_NE(error.find("b.txt"), std::string::npos);
  EXPECT_EQ(ReadAll(dir.PathOf("a.txt")), "old a");
  EXPECT_EQ(Listing(dir.Directory()), (std::set<std::string>{"a.txt", "b.txt", "b.txt/inside"}));
}

TEST(StagedFiles, AFileInThePlaceOfAFolderIsRefused) {
  test::TempRunDirectory dir;
  WriteFile(dir.PathOf("tools"), "a file");
  StagedFiles staged(dir.Directory());
  std::string error;
  EXPECT_EQ(staged.Stage(File("tools/x"), &error), "");
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace quillet::updater
