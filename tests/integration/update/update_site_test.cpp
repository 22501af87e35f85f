#include "update_site.h"

#include <gtest/gtest.h>

namespace quillet::server {
namespace {

TEST(UpdateSite, ServesOnlyNamesInsideItsFolder) {
  const UpdateSite site("/srv/update/");
  const struct {
    const char* path;
    const char* file;
  } cases[] = {
      {"/QuilletUpdate/update.txt", "/srv/update/update.txt"},
      {"/QuilletUpdate/QuickTools/a-b_c.1", "/srv/update/QuickTools/a-b_c.1"},
      {"/QuilletUpdate/../etc/passwd", ""},
      {"/QuilletUpdate/a/../../b", ""},
      {"/QuilletUpdate//etc/passwd", ""},
      {"/QuilletUpdate/", ""},
      {"/QuilletUpdate/a b", ""},
      {"/QuilletUpdate/a\\b", ""},
      {"/quilletupdate/update.txt", ""},
      {"/other/update.txt", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(site.FileFor(c.path), c.file);
  }
  EXPECT_EQ(UpdateSite("").FileFor("/QuilletUpdate/update.txt"), "");
}

}  // namespace
}  // namespace quillet::server
