#include "core/net/cookies.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

struct MergeCase {
  const char* old;
  const char* fresh;
  const char* merged;
  const char* freshAfter;
};

TEST(MergeCookies, FreshItemsFirstThenOldOnesByNameWithoutDeletedOrDuplicates) {
  const MergeCase cases[] = {
      {"a=1; b=2; c=5", "b=3; c=deleted", "b=3; a=1", "b=3; c=deleted"},
      {"a=1; b=2", "b=3", "b=3; a=1", "b=3"},
      {"", "", "", ""},
      {"a=1", "", "a=1", ""},
      {"", "a=1", "a=1", "a=1"},
      // Both texts are trimmed; a trailing ";" gets its space back.
      {"  a=1;  ", "b=2;", "b=2; a=1", "b=2; "},
      // Names are compared trimmed and with letter case.
      {"a = 1 ; b=2", "a=9", "a=9; b=2", "a=9"},
      {"A=1", "a=2", "a=2; A=1", "a=2"},
      // An old name repeated is taken once; fresh duplicates collapse.
      {"a=1; a=2", "", "a=1", ""},
      {"", "a=1; a=1; b=2", "a=1; b=2", "a=1; a=1; b=2"},
      // Deleted items vanish wherever they come from.
      {"x=deleted; y=2", "", "y=2", ""},
      {"x=1", "x=deleted", "", "x=deleted"},
      // An item without "=" is named by the whole item.
      {"flag; a=1", "flag", "flag; a=1", "flag"},
  };
  for (const MergeCase& c : cases) {
    Text old = c.old;
    Text fresh = c.fresh;
    const Text merged = MergeCookies(&old, &fresh);
    EXPECT_EQ(merged, c.merged) << "old: " << c.old << " fresh: " << c.fresh;
    EXPECT_EQ(old, c.merged) << "old: " << c.old;
    EXPECT_EQ(fresh, c.freshAfter) << "fresh: " << c.fresh;
  }
}

struct CollectCase {
  const char* headers;
  const char* cookies;
};

TEST(CollectSetCookies, TakesTheFirstPairOfEveryExactSetCookieLine) {
  const CollectCase cases[] = {
      {"HTTP/1.1 200 OK\r\nSet-Cookie: a=1; Path=/\r\nSet-Cookie: b=2\r\n\r\n", "a=1; b=2"},
      {"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n", ""},
      {"", ""},
      // The name must be spelt exactly and be followed by ": ".
      {"set-cookie: a=1\r\nSet-Cookie:b=2\r\nSet-Cookie: c=3", "c=3"},
      {"Set-Cookie: c=3;\r\n", "c=3"},
      {"Set-Cookie:  spaced=1 ; HttpOnly", "spaced=1"},
      {"Set-Cookie: ", ""},
  };
  for (const CollectCase& c : cases) {
    EXPECT_EQ(CollectSetCookies(c.headers), c.cookies) << c.headers;
  }
}

}  // namespace
}  // namespace quillet
