#include "core/net/header_names.h"

#include <gtest/gtest.h>

#include "core/text/text.h"

namespace quillet {
namespace {

struct NormaliseCase {
  const char* input;
  const char* expected;
};

TEST(NormaliseHeaderNames, RaisesFirstLetterOfEveryNamePartAndKeepsTheRest) {
  const NormaliseCase cases[] = {
      {"", ""},
      {"content-type: text/html", "Content-Type: text/html"},
      {"content-TYPE: x", "Content-TYPE: x"},
      {"accept: text/plain", "Accept: text/plain"},
      {"x-requested-with: XMLHttpRequest", "X-Requested-With: XMLHttpRequest"},
      {"host: Example.COM", "Host: Example.COM"},
      // Only the text before the first colon is a name.
      {"a:b:c", "A:b:c"},
      {"referer: http://h/x-y", "Referer: http://h/x-y"},
      // Empty parts of a name stay empty.
      {"-x--y-: v", "-X--Y-: v"},
      // A name that starts with a space keeps it.
      {" lead: v", " lead: v"},
      // Empty lines and lines without a colon vanish; no final CR LF.
      {"accept: a\r\n\r\nno colon here\r\nuser-agent: b\r\n", "Accept: a\r\nUser-Agent: b"},
      {"no colon", ""},
      {"\r\n\r\n", ""},
      {"1-abc: v", "1-Abc: v"},
  };
  for (const NormaliseCase& c : cases) {
    EXPECT_EQ(NormaliseHeaderNames(c.input), c.expected) << "input: " << c.input;
  }
}

TEST(NormaliseHeaderNames, LeavesDoubleByteNamesUntouched) {
  // The trail bytes of these characters fall on ASCII lower-case letters;
  // raising them would corrupt the characters.
  const Text name = Gbk("中-文");
  EXPECT_EQ(NormaliseHeaderNames(name + ": v"), name + ": v");
}

struct LineCase {
  const char* line;
  const char* name;
  const char* value;
};

TEST(HeaderLine, NameAndValueAreTrimmedAroundTheFirstColon) {
  const LineCase cases[] = {
      {"Accept: */*", "Accept", "*/*"},
      {"  Accept :  a:b  ", "Accept", "a:b"},
      {"no colon", "", ""},
      {":", "", ""},
  };
  for (const LineCase& c : cases) {
    EXPECT_EQ(HeaderLineName(c.line), c.name) << c.line;
    EXPECT_EQ(HeaderLineValue(c.line), c.value) << c.line;
  }
}

}  // namespace
}  // namespace quillet
