#include "platform/linux/profile_script.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(ShellValue, StoredFormBecomesShellSyntax) {
  const struct {
    const char* stored;
    const char* shell;
  } cases[] = {
      {"%JAVA_HOME%\\bin;%JAVA_HOME%\\jre\\bin;", "${JAVA_HOME}/bin:${JAVA_HOME}/jre/bin"},
      {".;%JAVA_HOME%\\lib\\dt.jar;%JAVA_HOME%\\lib\\tools.jar;",
       ".:${JAVA_HOME}/lib/dt.jar:${JAVA_HOME}/lib/tools.jar"},
      {"%PATH%;/opt/x", "${PATH}:/opt/x"},
      {"%Path%", "${PATH}"},  // the system's Path is the shell's PATH
      // Empty elements would put the current folder on the search path.
      {";;/a;;/b;", "/a:/b"},
      {"/usr/lib/jvm/jdk", "/usr/lib/jvm/jdk"},
      // Text that would be code inside double quotes is escaped.
      {"/x/$(reboot)`id`\"q\"", "/x/\\$(reboot)\\`id\\`\\\"q\\\""},
      // A percent sign that starts no reference stays a character.
      {"50%;a%b c%", "50%:a%b c%"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShellValue(c.stored), c.shell) << c.stored;
}

TEST(ProfileLines, ReadBackGivesTheValuesExactlyAsStored) {
  const std::vector<ProfileVariable> stored = {
      {"Path", "%PATH%;%JAVA_HOME%\\bin;%JAVA_HOME%\\jre\\bin;"},
      {"JAVA_HOME", "/opt/jdk 17/中文"},
      {"CLASSPATH", ".;%JAVA_HOME%\\lib\\dt.jar;"},
      {"EMPTY", ""},
  };
  const auto lines = RenderProfileLines(stored);
  ASSERT_TRUE(lines);
  const auto read = ParseProfileLines(*lines);
  ASSERT_EQ(read.size(), stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i) {
    EXPECT_EQ(read[i].name, stored[i].name);
    EXPECT_EQ(read[i].value, stored[i].value);
  }
}

TEST(ProfileLines, ValuesWithoutReferencesAreExportedFirst) {
  const auto lines =
      RenderProfileLines({{"Path", "%PATH%;%JAVA_HOME%\\bin"}, {"JAVA_HOME", "/opt/jdk"}});
  ASSERT_TRUE(lines);
  const auto home = lines->find("export JAVA_HOME=\"/opt/jdk\"\n");
  const auto path = lines->find("export PATH=\"${PATH}:${JAVA_HOME}/bin\"\n");
  ASSERT_NE(home, std::string::npos);
  ASSERT_NE(path, std::string::npos);
  EXPECT_LT(home, path);
}

TEST(ProfileLines, PathThatWouldBeEmptyIsNotExported) {
  const auto lines = RenderProfileLines({{"Path", ";"}});
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->find("export"), std::string::npos);
}

TEST(ProfileLines, NamesAndValuesTheShellCannotHoldAreRefused) {
  const std::vector<std::vector<ProfileVariable>> refused = {
      {{"JAVA HOME", "/x"}},
      {{"1ST", "/x"}},
      {{"", "/x"}},
      {{"A;rm", "/x"}},
      {{"A", "line\nexport EVIL=1"}},
      {{"A", "cr\r"}},
      {{"A", std::string("zero\0byte", 9)}},
  };
  for (const auto& variables : refused) {
    EXPECT_FALSE(RenderProfileLines(variables)) << variables[0].name;
  }
}

TEST(ProfileLines, LinesThatAreNotValueLinesAreIgnored) {
  const auto read = ParseProfileLines(
      "# a comment\nexport X=1\n# quillet-value NOEQUALS\n# quillet-value bad name=1\n"
      "# quillet-value OK=a=b\n# quillet-value LAST=no newline");
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].name, "OK");
  EXPECT_EQ(read[0].value, "a=b");
  EXPECT_EQ(read[1].value, "no newline");
}

}  // namespace
}  // namespace quillet
