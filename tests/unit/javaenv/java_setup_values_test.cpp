#include <gtest/gtest.h>

#include "core/javaenv/environment_store.h"
#include "core/javaenv/java_setup.h"

namespace quillet {
namespace {

TEST(JavaPathValue, JavaEntriesFollowTheCurrentPathWithExactlyOneSeparator) {
  const struct {
    Text current;
    Text expected;
  } cases[] = {
      {"", "%JAVA_HOME%\\bin;%JAVA_HOME%\\jre\\bin;"},
      {"C:\\a;", "C:\\a;%JAVA_HOME%\\bin;%JAVA_HOME%\\jre\\bin;"},
      {"C:\\a;C:\\b", "C:\\a;C:\\b;%JAVA_HOME%\\bin;%JAVA_HOME%\\jre\\bin;"},
      {"%PATH%", "%PATH%;%JAVA_HOME%\\bin;%JAVA_HOME%\\jre\\bin;"},
  };
  for (const auto& c : cases) EXPECT_EQ(JavaPathValue(c.current), c.expected) << c.current;
}

TEST(JavaClassPathValue, IsTheFixedListWithUnexpandedReferences) {
  EXPECT_EQ(JavaClassPathValue(), ".;%JAVA_HOME%\\lib\\dt.jar;%JAVA_HOME%\\lib\\tools.jar;");
}

TEST(ValueFromListing, TakesTheFirstEntryOfThatNameWhateverItsLetterCase) {
  const std::vector<Text> listing = {"PATHEXT=.COM;.EXE", "OS=x=y", "PATH=first;", "Path=second",
                                     "=C:=C:\\"};
  EXPECT_EQ(ValueFromListing(listing, "Path"), "first;");
  EXPECT_EQ(ValueFromListing(listing, "os"), "x=y");  // '=' inside a value stays
  EXPECT_EQ(ValueFromListing(listing, "JAVA_HOME"), "");
  EXPECT_EQ(ValueFromListing({}, "Path"), "");
}

}  // namespace
}  // namespace quillet
