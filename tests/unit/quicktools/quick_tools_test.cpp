#include "core/quicktools/quick_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/quicktools/find_files.h"
#include "core/quicktools/path_file_name.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

// A QuickTools folder in a fresh temporary directory, removed afterwards:
// programs, a shortcut, a hidden file, a name that is only an extension, a
// sub-folder with a file inside, a link to a folder and a dangling link.
class QuickToolsFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string templ = (fs::temp_directory_path() / "quillet-quicktools-XXXXXX").string();
    ASSERT_NE(::mkdtemp(templ.data()), nullptr);
    root_ = templ;
    folder_ = QuickToolsFolder(root_.string());
    ASSERT_TRUE(CreateQuickToolsFolder(root_.string()));
    for (const char* name : {"a.b.c.txt", ".hidden", "tool.exe", "Notepad++.lnk", ".gitignore"}) {
      std::ofstream(fs::path(folder_) / name) << "x";
    }
    fs::create_directory(fs::path(folder_) / "sub");
    std::ofstream(fs::path(folder_) / "sub" / "inner.txt") << "x";
    fs::create_directory_symlink(fs::path(folder_) / "sub", fs::path(folder_) / "linkdir");
    fs::create_symlink(fs::path(folder_) / "gone.exe", fs::path(folder_) / "dangling.lnk");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  // The file system's own order of the names that are not folders.
  std::vector<std::string> DirectoryOrder() const {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(folder_)) {
      std::error_code ec;
      if (!fs::is_directory(e.path(), ec)) names.push_back(e.path().filename().string());
    }
    return names;
  }

  fs::path root_;
  std::string folder_;
};

TEST_F(QuickToolsFolderTest, ListsFilesOnlyInFileSystemOrder) {
  std::vector<std::string> out = {"stale"};
  EXPECT_EQ(FindFiles(folder_, "*", out, false), 6);
  EXPECT_EQ(out, DirectoryOrder());
  std::vector<std::string> sorted = out;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (std::vector<std::string>{".gitignore", ".hidden", "Notepad++.lnk", "a.b.c.txt",
                                              "dangling.lnk", "tool.exe"}));
}

TEST_F(QuickToolsFolderTest, FullPathsJoinFolderAndName) {
  std::vector<std::string> full, bare;
  ASSERT_EQ(FindFiles(folder_ + "/", "*", full, true), 6);
  ASSERT_EQ(FindFiles(folder_, "*", bare, false), 6);
  for (std::size_t i = 0; i < full.size(); ++i) EXPECT_EQ(full[i], folder_ + "/" + bare[i]);
}

TEST_F(QuickToolsFolderTest, PatternsSelectNames) {
  struct Case {
    const char* pattern;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"*.txt", {"a.b.c.txt"}},
      {"*.*", {".gitignore", ".hidden", "Notepad++.lnk", "a.b.c.txt", "dangling.lnk", "tool.exe"}},
      {"?ool.exe", {"tool.exe"}},
      {"TOOL.EXE", {"tool.exe"}},
      {"*.lnk", {"Notepad++.lnk", "dangling.lnk"}},
      {"*b*c*", {"a.b.c.txt"}},
      {"inner.txt", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> out;
    FindFiles(folder_, c.pattern, out, false);
    std::sort(out.begin(), out.end());
    EXPECT_EQ(out, c.names) << c.pattern;
  }
}

class CountingPump final : public EventPump {
 public:
  void PumpPending() override { ++pumps; }
  void WaitPumping(int) override {}
  int pumps = 0;
};

TEST_F(QuickToolsFolderTest, EventsArePumpedAfterEveryEntry) {
  CountingPump pump;
  std::vector<std::string> out;
  FindFiles(folder_, "*", out, true, &pump);
  EXPECT_EQ(pump.pumps, 6);
}

TEST_F(QuickToolsFolderTest, ItemsCarryTheNameWithoutExtension) {
  const std::vector<QuickTool> tools = ListQuickTools(folder_);
  const std::vector<std::string> order = DirectoryOrder();
  ASSERT_EQ(tools.size(), order.size());
  for (std::size_t i = 0; i < tools.size(); ++i) {
    EXPECT_EQ(tools[i].path, folder_ + "/" + order[i]);
    EXPECT_EQ(tools[i].name, PathFileName(order[i]));
  }
  const auto find = [&](const std::string& name) {
    return std::count_if(tools.begin(), tools.end(),
                         [&](const QuickTool& t) { return t.name == name; });
  };
  EXPECT_EQ(find("a.b.c"), 1);
  EXPECT_EQ(find("Notepad++"), 1);
  EXPECT_EQ(find("tool"), 1);
  EXPECT_EQ(find(""), 2);  // ".gitignore" and ".hidden"
}

TEST_F(QuickToolsFolderTest, CreatingTheFolderAgainKeepsItsFiles) {
  EXPECT_TRUE(CreateQuickToolsFolder(root_.string()));
  std::vector<std::string> out;
  EXPECT_EQ(FindFiles(folder_, "*", out, false), 6);

  const fs::path file = root_ / "plain-file";
  std::ofstream(file) << "x";
  EXPECT_FALSE(CreateQuickToolsFolder(file.string()));  // cannot make a folder under a file
}

TEST(FindFiles, MissingFolderGivesNothing) {
  std::vector<std::string> out = {"stale"};
  EXPECT_EQ(FindFiles("/nonexistent/quillet/QuickTools", "*", out, true), 0);
  EXPECT_TRUE(out.empty());
}

TEST(PathFileName, DotAndSeparatorRules) {
  struct Case {
    const char* path;
    bool keep;
    const char* name;
  };
  const Case cases[] = {
      {"/q/a.b.c.txt", false, "a.b.c"},
      {"/q/a.b.c.txt", true, "a.b.c.txt"},
      {"/q/.gitignore", false, ""},
      {"/q/.gitignore", true, ".gitignore"},
      {"/q/sub/", false, ""},
      {"/q/sub/", true, ""},
      {"README", false, "README"},
      {"/q/tool.exe", false, "tool"},
      {"/q/Notepad++.lnk", false, "Notepad++"},
      {"", false, ""},
      {"/q/dir.v2/file", false, "file"},
      {"/q/name.", false, "name"},
      {"/q/工具.exe", false, "工具"},
      {"/", false, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PathFileName(c.path, c.keep), c.name) << c.path << " keep=" << c.keep;
  }
}

class RecordingShell final : public Shell {
 public:
  bool OpenUrl(const std::string&) override { return false; }
  bool OpenFile(const std::string& path) override {
    opened.push_back(path);
    return true;
  }
  bool OpenTerminal(const std::string&) override { return false; }
  std::vector<std::string> opened;
};

TEST(OpenQuickTool, OpensTheEntryAndIgnoresOtherIndexes) {
  const std::vector<QuickTool> tools = {{"/q/tool.exe", "tool"}, {"/q/a.b.c.txt", "a.b.c"}};
  RecordingShell shell;
  EXPECT_TRUE(OpenQuickTool(shell, tools, 1));
  EXPECT_FALSE(OpenQuickTool(shell, tools, 2));
  EXPECT_FALSE(OpenQuickTool(shell, tools, -1));
  EXPECT_EQ(shell.opened, std::vector<std::string>{"/q/a.b.c.txt"});
}

}  // namespace
}  // namespace quillet
